// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy per user: the first start listens on a local socket, a later start asks it
// to show its window and leaves.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace varnix {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString instanceName = QStringLiteral("Quenra_Tavro"),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name: instance name and user.
    const QString& serverName() const { return serverName_; }
    // True when this process is the first: it now listens. False when another copy answered;
    // it has been asked to show its window. When the socket cannot be set up at all the
    // process runs without protection (true).
    bool claim();

Q_SIGNALS:
    // A later start asked this copy to show its window.
    void showRequested();

private:
    QString serverName_;
    QLocalServer* server_ = nullptr;
};

} // namespace varnix
