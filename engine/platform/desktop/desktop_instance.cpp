// One instance per program and close requests between processes, both in
// the user's runtime folder: a lock file held with flock for the life of
// the process (a crash releases it) and a Unix socket per main window.
#include "desktop_platform.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 3000;
const QByteArray kCloseRequest = "close\n";
const QByteArray kCloseAnswer = "closing\n";

// A file name from free text: '/' cannot appear in one.
QString FileNamePart(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text)).replace(u'/', u'_');
}

} // namespace

bool DesktopPlatform::AcquireInstanceLock(std::u16string_view name) {
    std::u16string runtime = RuntimeDir();
    if (runtime.empty()) {
        return false;
    }
    QString path =
        QString::fromStdU16String(runtime) + u'/' + FileNamePart(name) + QStringLiteral(".lock");
    int descriptor = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    state_.instanceLocks.push_back(descriptor);
    return true;
}

namespace {

QString CloseSocketPath(const std::u16string& runtime, std::u16string_view className,
                        std::u16string_view title) {
    return QString::fromStdU16String(runtime) + u'/' + FileNamePart(className) + u'.' +
           FileNamePart(title) + QStringLiteral(".close");
}

} // namespace

bool DesktopPlatform::RequestClose(std::u16string_view className, std::u16string_view title) {
    std::u16string runtime = RuntimeDir();
    if (runtime.empty()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(CloseSocketPath(runtime, className, title));
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    socket.write(kCloseRequest);
    if (!socket.waitForBytesWritten(kConnectTimeoutMs)) {
        return false;
    }
    // The peer answers once it has queued WM_CLOSE for its window.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs)) {
            return false;
        }
    }
    return socket.readLine() == kCloseAnswer;
}

bool DesktopPlatform::ListenForCloseRequests(HWND window, std::u16string_view className,
                                             std::u16string_view title) {
    std::u16string runtime = RuntimeDir();
    if (Find(window) == nullptr || runtime.empty()) {
        return false;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QString path = CloseSocketPath(runtime, className, title);
    // A socket file left by a crashed run would refuse the name; the
    // instance lock keeps two live listeners of one program apart.
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        return false;
    }
    QLocalServer* listener = server.get();
    QObject::connect(listener, &QLocalServer::newConnection, listener, [this, listener, window] {
        while (QLocalSocket* peer = listener->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer, window] {
                if (!peer->canReadLine()) {
                    return;
                }
                if (peer->readLine() == kCloseRequest && PostMessage(window, WM_CLOSE, 0, 0)) {
                    peer->write(kCloseAnswer);
                    peer->flush();
                }
                peer->disconnectFromServer();
            });
        }
    });
    state_.closeServers[window] = std::move(server);
    return true;
}
