#include "platform/framework/ShellOpenChannel.h"

#include "platform/files/HostPath.h"
#include "platform/registry/RegistryStore.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

namespace
{
// Waits for the other side; long enough for a busy program, short enough not to hang a start.
constexpr int kAnswerMs = 5000;
constexpr char kTaken[] = "taken\n";
// A request is one path: nothing longer is read from a client.
constexpr qint64 kMaxRequest = 64 * 1024;

bool Answering(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(kAnswerMs / 5);
}
} // namespace

ShellOpenChannel::ShellOpenChannel() = default;

ShellOpenChannel::~ShellOpenChannel() = default;

QString ShellOpenChannel::ServerName()
{
    const QByteArray store = QByteArray::fromStdString(RegistryStore::ForProcess().Path());
    const QByteArray digest = QCryptographicHash::hash(store, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("reelmix-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.left(12)));
}

bool ShellOpenChannel::IsListening() const
{
    return m_server && m_server->isListening();
}

bool ShellOpenChannel::Listen(OpenRequest onOpen)
{
    const QString name = ServerName();
    if (IsListening() || Answering(name))
        return false;
    // Nobody answers: a socket left behind by a program that died is in the way.
    QLocalServer::removeServer(name);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        m_server.reset();
        return false;
    }
    m_onOpen = std::move(onOpen);
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine()) {
                    if (client->bytesAvailable() > kMaxRequest)
                        client->abort();
                    return;
                }
                const QByteArray host = client->readLine(kMaxRequest).trimmed();
                CString path;
                if (host.isEmpty() || !FromHostPath(host.toStdString(), path)) {
                    client->abort();
                    return;
                }
                client->write(kTaken);
                client->flush();
                // Opening asks questions of its own; it runs after this socket's event.
                QMetaObject::invokeMethod(
                    m_server.get(), [this, path] { m_onOpen(path); }, Qt::QueuedConnection);
            });
        }
    });
    return true;
}

bool ShellOpenChannel::Forward(const CString& programPath)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kAnswerMs / 5))
        return false;
    socket.write(QByteArray::fromStdString(ToHostPath(programPath)) + '\n');
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerMs))
            return false;
    }
    return socket.readLine() == kTaken;
}
