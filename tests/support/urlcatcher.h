#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Takes the place of the system's handler for http and mailto (or the schemes
// given) while it lives, and records what the program asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    explicit UrlCatcher(const QStringList &schemes = {"http", "https", "mailto"})
        : m_schemes(schemes)
    {
        for (const QString &scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, this, "handle");
    }
    ~UrlCatcher() override
    {
        for (const QString &scheme : std::as_const(m_schemes))
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }

private:
    QStringList m_schemes;
};
