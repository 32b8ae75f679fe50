#pragma once
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QObject;

namespace cardora {

class CardObjectParent;
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

// Where a drawing tool places its object: the object's owner, the surface it
// goes on and the rectangle the user dragged (before minimum sizes).
struct ToolPlacement {
    QObject* owner = nullptr;
    CardObjectParent& parent;
    QRect dragged;
};

// A drawing tool: its button, what it is called and shows, and how it makes
// its object. `create` builds the object and sets what must be set before
// placing; `afterPlace` runs once it sits on the card (its dialog, fitting)
// and answers false when the user cancelled, which takes the object away
// again. Tools whose dialog is large return to the selection tool before it
// opens.
struct ObjectTool {
    QString buttonName;   // the tool button's object name
    QString icon;         // ":/icons/<icon>.svg"
    QString noun;         // "Circle Text": "Circle Text tool", "Undo New Circle Text"
    QString hint;         // what it makes, under its name in the button's tip
    QString whatsThis;    // the button's what's-this text
    QString assistantTip; // the Designer Assistant's tip while the tool is chosen
    int helpTopic = 0;    // F1 on the button: the help of the dialog it opens
    std::function<TQGraphicControl*(const ToolPlacement&)> create;
    std::function<bool(const ToolPlacement&, TQGraphicControl*)> afterPlace;
    bool pointerBeforeDialog = false;
};

// One kind of card object, as it registers itself from its own folder: the
// class the card file names, how to make one, the tools that draw it and
// what the Designer Assistant says when it is selected.
struct ObjectKind {
    QString className;
    CardObjectFactory factory;
    std::vector<ObjectTool> tools;
    QString selectionTip;
    // Fills with gradients or textures, which some printers drop.
    bool filledSurfaces = false;
};

// Every registered kind in tool bar order. Tools are numbered from 1 in that
// order (0 is the selection tool).
class ObjectKinds {
public:
    // Registers the kind's class with the card file reader too. Registering
    // a class again does nothing.
    static void Register(ObjectKind kind);
    static const std::vector<ObjectKind>& All();
    // nullptr for classes that registered no kind (case-insensitive).
    static const ObjectKind* Find(const QString& className);
    static int ToolCount();
    // nullptr for 0 and numbers past the last tool.
    static const ObjectTool* Tool(int number);
    // The tool that draws objects of this class, 0 when none.
    static int ToolFor(const QString& className);
    // Replaces how a registered tool makes and places its object (tests of
    // the panel's placing); its button and texts stay.
    static void ReplaceTool(int number, ObjectTool tool);
};

// Registers every card object kind. Safe to call more than once.
void RegisterCardObjectKinds();

} // namespace cardora
