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
