// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse input of the macro page that no control notifies: a right click in an empty tree, and
// while recording every button press and release on the page (recorded, not acted on).
#pragma once

#include <QObject>
#include <QPointer>

namespace varnix {

class MacroPage;
class SkinControl;
class SkinTree;

class MacroPageInput final : public QObject {
public:
    MacroPageInput(MacroPage& page, SkinTree* tree, SkinControl* pageRoot);
    ~MacroPageInput() override;
    // While on, mouse buttons on the page are recorded; the record box still takes its click.
    void setRecording(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MacroPage& page_;
    QPointer<QWidget> treeArea_;
    QPointer<QWidget> pageArea_;
    bool recording_ = false;
};

} // namespace varnix
