#include "objects/class_registry.h"
#include "objects/stream_error.h"

namespace cardora {

CardClassRegistry& CardClassRegistry::Instance()
{
    static CardClassRegistry r;
    return r;
}

void CardClassRegistry::Register(const QString& name, const CardObjectFactory& factory, const void* identity)
{
    for (const Entry& e : entries_) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (e.identity == identity)
                return;
            throw EStreamError(QString("A class named %1 already exists").arg(name));
        }
    }
    entries_.push_back({ name, factory, identity });
}

const CardObjectFactory* CardClassRegistry::Find(const QString& name) const
{
    for (const Entry& e : entries_)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e.factory;
    return nullptr;
}

QStringList CardClassRegistry::Names() const
{
    QStringList n;
    for (const Entry& e : entries_)
        n << e.name;
    return n;
}

} // namespace cardora

namespace cardora {

namespace {
struct KindTable {
    std::vector<ObjectKind> kinds;
    std::vector<std::pair<int, int>> tools; // (kind, tool within it), in tool bar order
};
KindTable& kindTable()
{
    static KindTable t;
    return t;
}
} // namespace

void ObjectKinds::Register(ObjectKind kind)
{
    KindTable& t = kindTable();
    if (Find(kind.className))
        return;
    // A class the reader already knows (registered on its own) keeps its entry.
    static const char identity = 0;
    if (!CardClassRegistry::Instance().Find(kind.className))
        CardClassRegistry::Instance().Register(kind.className, kind.factory, &identity);
    const int index = int(t.kinds.size());
    for (int i = 0; i < int(kind.tools.size()); ++i)
        t.tools.push_back({ index, i });
    t.kinds.push_back(std::move(kind));
}

const std::vector<ObjectKind>& ObjectKinds::All() { return kindTable().kinds; }

const ObjectKind* ObjectKinds::Find(const QString& className)
{
    for (const ObjectKind& k : kindTable().kinds)
        if (k.className.compare(className, Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

int ObjectKinds::ToolCount() { return int(kindTable().tools.size()); }

const ObjectTool* ObjectKinds::Tool(int number)
{
    KindTable& t = kindTable();
    if (number < 1 || number > int(t.tools.size()))
        return nullptr;
    const auto [kind, tool] = t.tools[number - 1];
    return &t.kinds[kind].tools[tool];
}

int ObjectKinds::ToolFor(const QString& className)
{
    for (int n = 1; n <= ToolCount(); ++n) {
        const auto [kind, tool] = kindTable().tools[n - 1];
        if (kindTable().kinds[kind].className.compare(className, Qt::CaseInsensitive) == 0)
            return n;
    }
    return 0;
}

void ObjectKinds::ReplaceTool(int number, ObjectTool tool)
{
    KindTable& t = kindTable();
    if (number < 1 || number > int(t.tools.size()))
        return;
    const auto [kind, index] = t.tools[number - 1];
    ObjectTool& slot = t.kinds[kind].tools[index];
    slot.create = std::move(tool.create);
    slot.afterPlace = std::move(tool.afterPlace);
    slot.pointerBeforeDialog = tool.pointerBeforeDialog;
}

} // namespace cardora
