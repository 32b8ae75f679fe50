#include "main/mru_list.h"
#include "core/ini_file.h"

namespace cardora {

void TMRUFileList::Add(const QString& path)
{
    Remove(path);
    items_.prepend(path);
    while (items_.size() > Maximum)
        items_.removeLast();
}

void TMRUFileList::Remove(const QString& path)
{
    for (int i = items_.size() - 1; i >= 0; --i)
        if (items_[i].compare(path, Qt::CaseInsensitive) == 0)
            items_.removeAt(i);
}

void TMRUFileList::Load()
{
    items_.clear();
    IniFile ini(AutoSaveName);
    for (const QString& key : ini.ReadSectionKeys(AutoSaveKey)) {
        const QString v = ini.ReadString(AutoSaveKey, key, QString());
        if (!v.isEmpty() && items_.size() < Maximum)
            items_ << v;
    }
}

void TMRUFileList::Save() const
{
    IniFile ini(AutoSaveName);
    ini.EraseSection(AutoSaveKey);
    for (int i = 0; i < items_.size(); ++i)
        ini.WriteString(AutoSaveKey, "F" + QString::number(i), items_[i]);
}

} // namespace cardora
