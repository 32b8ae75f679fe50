#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace cardora {

class TQGraphicControl;

using CardObjectFactory = std::function<TQGraphicControl*(QObject* owner)>;

// Card object classes known to the card file reader, looked up by name
// without regard to case.
class CardClassRegistry {
public:
    static CardClassRegistry& Instance();

    // Registering the same class again does nothing; another class under a
    // taken name throws
    // "A class named %s already exists".
    void Register(const QString& name, const CardObjectFactory& factory, const void* identity);
    // nullptr when no class of that name is registered.
    const CardObjectFactory* Find(const QString& name) const;
    QStringList Names() const;

private:
    struct Entry {
        QString name;
        CardObjectFactory factory;
        const void* identity;
    };
    std::vector<Entry> entries_;
};

// Registers T under its class name; T must offer `static TQGraphicControl* Create(QObject*)`
// and `static QString StaticClassName()`.
template <class T>
void RegisterCardClass()
{
    static const char identity = 0;
    CardClassRegistry::Instance().Register(T::StaticClassName(), &T::Create, &identity);
}

} // namespace cardora
