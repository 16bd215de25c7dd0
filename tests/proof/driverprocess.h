#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The driver program in a child process, and the lines it reports.
class DriverProcess
{
public:
    DriverProcess() { m_process.setProcessChannelMode(QProcess::SeparateChannels); }
    ~DriverProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Starts it and waits until it says it is ready; false (with the reason in output()) when it never does.
    bool start(const QStringList &arguments)
    {
        m_process.start(QStringLiteral(KORVANE_DRIVER), arguments);
        if (!m_process.waitForStarted())
            return false;
        // Generous bounds, so that a driver that hangs fails the test instead of stalling it.
        while (!m_output.contains(QLatin1String("ready\n"))) {
            if (!m_process.waitForReadyRead(60000))
                return false;
            m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        }
        m_output.remove(0, m_output.indexOf(QLatin1String("ready\n")) + 6);
        return true;
    }

    void write(const QByteArray &bytes) { m_process.write(bytes); }

    // Ends it at once, as a power cut or a crash would, and collects what it reported before that.
    bool killNow()
    {
        m_process.kill(); // SIGKILL: no handler, no clean-up
        if (!m_process.waitForFinished(60000))
            return false;
        collect();
        return m_process.exitStatus() == QProcess::CrashExit;
    }

    bool waitForExit()
    {
        const bool finished = m_process.waitForFinished(600000);
        collect();
        return finished && m_process.exitStatus() == QProcess::NormalExit;
    }

    int exitCode() const { return m_process.exitCode(); }
    QString output() const { return m_output + QString::fromUtf8(m_errors); }

    // Complete report lines, without the line ends.
    QStringList lines() const
    {
        QStringList all = m_output.split(QLatin1Char('\n'));
        all.removeLast(); // an unfinished last line is no report
        return all;
    }

private:
    void collect()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        m_errors += m_process.readAllStandardError();
    }

    QProcess m_process;
    QString m_output;
    QByteArray m_errors;
};
