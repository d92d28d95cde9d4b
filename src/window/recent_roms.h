// The ROMs opened last and the File menu's "Open Recent" submenu.
//
// The list is the one thing the program keeps between runs: at most eight
// absolute paths, newest first, under one key of
// $XDG_CONFIG_HOME/tessel/tessel.conf (~/.config when the variable is
// unset). A missing, unreadable or damaged file reads as an empty list;
// a list that cannot be written is kept for this run only.
#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>
#include <functional>

namespace tessel {

// The settings file, from the environment as it is now.
QString recentRomsFile();
// QSettings would wait for ever on a pipe in the file's place: only a
// regular file, or none, may be read or written.
bool usableSettingsFile(const QString& file);

class RecentRoms {
public:
    static constexpr int kMaxCount = 8;

    explicit RecentRoms(const QString& file = recentRomsFile());

    const QStringList& paths() const { return paths_; }
    // `path` becomes the newest entry (once only); the oldest beyond eight go.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();
    // The folder of the newest entry; empty when the list is.
    QString lastFolder() const;

private:
    void save() const;

    QString file_;
    QStringList paths_;
};

// "Open Recent": "&1 path" ... "&8 path", a separator and "&Clear List";
// grayed while the list is empty. Choosing an entry calls `choose` with its
// path; the window decides what opening it means.
class RecentRomsMenu : public QMenu {
    Q_OBJECT
public:
    RecentRomsMenu(std::function<void(const QString&)> choose, QWidget* parent);

    const RecentRoms& roms() const { return roms_; }
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

private:
    void rebuild();

    RecentRoms roms_;
    std::function<void(const QString&)> choose_;
};

} // namespace tessel
