#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// Recently used card files, most recent first, kept in section "MRU" of the
// preferences file under F0, F1, ...
class TMRUFileList {
public:
    int Maximum = 5;
    QString AutoSaveName;
    QString AutoSaveKey = "MRU";

    const QStringList& Items() const { return items_; }
    // Moves a listed path (compared without case) to the top, or inserts it there.
    void Add(const QString& path);
    void Remove(const QString& path);
    void Load();
    void Save() const;

private:
    QStringList items_;
};

} // namespace cardora
