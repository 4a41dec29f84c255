// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include "common/Diagnostics.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace varnix {
namespace {
constexpr int ConnectTimeoutMs = 1000;
const QByteArray ShowRequest = QByteArrayLiteral("show\n");
} // namespace

SingleInstance::SingleInstance(QString instanceName, QObject* parent)
    : QObject(parent),
      serverName_(
          QStringLiteral("%1-%2").arg(instanceName).arg(static_cast<qulonglong>(getuid()))) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(ConnectTimeoutMs)) {
            socket.write(ShowRequest);
            socket.waitForBytesWritten(ConnectTimeoutMs);
            socket.disconnectFromServer();
            return false;
        }
    }
    // Nobody answers: a socket file left by a crashed copy is stale.
    QLocalServer::removeServer(serverName_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_)) {
        debugOutput(formatText("single instance: %s", qPrintable(server_->errorString())));
        return true;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains("show"))
                    Q_EMIT showRequested();
            });
        }
    });
    return true;
}

} // namespace varnix
