#pragma once

#include <QByteArray>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <optional>

// Points the desktop's data folder, and with it the Trash, at folder (made here) for the life of the
// object, so that deleted pictures never reach the user's own Trash.
class ScopedTrashHome
{
public:
    explicit ScopedTrashHome(const QString& folder)
    {
        QDir().mkpath(folder + QStringLiteral("/data"));
        qputenv("HOME", QFile::encodeName(folder));
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder + QStringLiteral("/data")));
    }
    ~ScopedTrashHome()
    {
        Restore("HOME", savedHome_);
        Restore("XDG_DATA_HOME", savedData_);
    }
    ScopedTrashHome(const ScopedTrashHome&) = delete;
    ScopedTrashHome& operator=(const ScopedTrashHome&) = delete;

private:
    static void Restore(const char* name, const std::optional<QByteArray>& value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    static std::optional<QByteArray> Saved(const char* name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }

    std::optional<QByteArray> savedHome_ = Saved("HOME");
    std::optional<QByteArray> savedData_ = Saved("XDG_DATA_HOME");
};

// A click of the left mouse button on the entry of the list at row.
inline void ClickEntry(QListWidget& list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualItemRect(list.item(row)).center());
}

// Takes the local files the desktop is asked to open, in place of the desktop's programs.
class OpenedFiles final : public QObject
{
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QStringList paths;

public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};
