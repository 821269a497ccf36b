#pragma once
// Runs the programs tests need (ffmpeg for test movies, the built player) and waits for them.
// They are started with posix_spawn rather than QProcess: Qt starts a child sharing the
// parent's memory until it executes, and the child's calls pass through the thread sanitizer's
// hooks on the parent's state, which leaves the checker blind to the starting thread afterwards.
#include <QString>
#include <QStringList>

namespace testprograms
{
struct Run {
    int exitCode = -1; // -1: did not start, was killed, or was still running at the deadline
    QString errors;    // what it wrote to its standard error
};

// Runs program (a path, or a name looked up on PATH) with arguments in directory (empty: this
// one) and waits up to timeoutMs for it to end; kills it past that.
Run RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
               const QString& directory = {});
} // namespace testprograms
