#pragma once
// Running the batch tool (or a helper program) from a test.
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace cardora::test {

struct CliRun {
    int exitCode = -1; // -1 when the program crashed or did not finish
    QByteArray out, err;
};

inline CliRun RunProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
        p.readAllStandardError() };
}

inline CliRun RunCli(const QStringList& args) { return RunProgram(CARDORA_CLI, args); }

inline QByteArray ReadFileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteFileBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace cardora::test
