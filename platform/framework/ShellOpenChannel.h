#pragma once
// Shell open requests between program instances: the first instance listens on a local
// socket, and a later start that was given a file hands the file over to it instead of
// opening a window of its own. One channel per user and settings store, so that programs
// working on separate settings (tests) never meet.
#include "platform/core/CString.h"

#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

class ShellOpenChannel
{
public:
    using OpenRequest = std::function<void(const CString& programPath)>;

    ShellOpenChannel();
    ~ShellOpenChannel();
    ShellOpenChannel(const ShellOpenChannel&) = delete;
    ShellOpenChannel& operator=(const ShellOpenChannel&) = delete;

    // Starts listening unless another instance already does; requests then come to onOpen
    // from the event loop, one at a time.
    bool Listen(OpenRequest onOpen);
    bool IsListening() const;

    // Hands path to the listening instance; TRUE once that instance has taken it.
    static bool Forward(const CString& programPath);
    static QString ServerName();

private:
    std::unique_ptr<QLocalServer> m_server;
    OpenRequest m_onOpen;
};
