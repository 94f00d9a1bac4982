#pragma once

#include <QTemporaryDir>

#include <memory>

// Points HOME and the XDG folders at a fresh temporary folder, so that no test
// reads or writes the real user's settings, autostart entries or data files.
class TestEnvironment
{
public:
    TestEnvironment();
    QString path() const { return m_dir.path(); }
    QString configHome() const;

private:
    QTemporaryDir m_dir;
};
