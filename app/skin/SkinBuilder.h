// SPDX-License-Identifier: GPL-3.0-or-later
// Builds controls from a skin XML file (see res/README.md for the dialect).
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class QXmlStreamReader;

namespace varnix {

class SkinControl;
class SkinManager;

// What a skin's <Window> element says about the window itself.
struct SkinWindowInfo {
    QSize size;
    QSize minSize;
    int captionHeight = 0; // height of the strip at the top that drags the window
    QColor bkColor;
    QString title;
};

using SkinAttributes = QList<QPair<QString, QString>>;

class SkinBuilder {
public:
    // Makes a control for a tag the builder does not know; null to refuse the tag.
    using CustomFactory = std::function<SkinControl*(const QString& tag)>;

    explicit SkinBuilder(SkinManager& manager, CustomFactory custom = {});

    // Builds a skin file named relative to the resource root. Returns the root control, attached
    // to the manager and without parent widget, or null when the file cannot be read or parsed.
    SkinControl* build(const QString& file, SkinWindowInfo* window = nullptr);
    SkinControl* buildText(const QString& xml, SkinWindowInfo* window = nullptr);
    // Why the last build failed; also lists unknown attributes and tags of a successful build.
    const QString& error() const { return error_; }
    const QStringList& warnings() const { return warnings_; }

    // A control for one of the built-in tags, or null.
    static SkinControl* createControl(const QString& tag);
    // Parses 'a="1" b="x"' into pairs, in order.
    static SkinAttributes parseAttributeText(const QString& text);

private:
    SkinControl* parseDocument(QXmlStreamReader& reader, SkinWindowInfo* window);
    SkinControl* parseControl(QXmlStreamReader& reader, SkinControl* parent);
    void parseChildren(QXmlStreamReader& reader, SkinControl* control);
    void addToParent(SkinControl* parent, SkinControl* child);
    void applyAttributes(SkinControl* control, const QString& tag, const SkinAttributes& pairs);
    SkinControl* include(const QString& file);

    SkinManager& manager_;
    CustomFactory custom_;
    QString error_;
    QStringList warnings_;
    QHash<QString, SkinAttributes> defaults_; // by tag, lower case
    QHash<QString, SkinAttributes> styles_;   // by style name
    int depth_ = 0;
};

} // namespace varnix
