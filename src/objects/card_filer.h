#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QIODevice;
class QObject;

namespace cardora {

class CardObjectParent;
class TObjectWriter;
class TQGraphicControl;

// Saves, loads, pastes and duplicates card objects through the tagged object
// stream. It knows the panel only as a CardObjectParent: the caller passes
// the objects to write and, for reading, `adopt`, which appends a finished
// object to the panel's children.
//
// Reading creates each object by its registered class with `owner` as its
// QObject parent, gives it the panel and the loading state, names it
// Component0...Component1000 (the first name no TQGraphicControl child of
// NameOwner carries), reads its entries, applies the paste offset and hands
// it to `adopt`. After the last object, references are resolved and every
// object read leaves the loading state and gets Loaded().
//
// A failure throws EStreamError with the reader's message: the object being
// read is destroyed, the objects completed before it stay adopted and are
// finished as after a complete read.
class TQLabelObjectFiler {
public:
    using AdoptFunction = std::function<void(TQGraphicControl*)>;

    // Every object read moves 15 pixels right and down from its stored place.
    bool PasteOffset = false;
    // Whose card objects the new names must avoid; set by each read
    // operation to its owner (a direct ReadObjects call uses `owner` when
    // this is null).
    QObject* NameOwner = nullptr;

    // Objects in child order. Writes through a save file, so a save that
    // fails leaves any old file untouched; "Cannot create file %s".
    void SaveCard(const std::vector<TQGraphicControl*>& objects, const QString& path);
    // Nothing at all (the file is left as it was) when nothing is selected.
    void SaveSelection(const std::vector<TQGraphicControl*>& selected, const QString& path);
    void SaveObject(TQGraphicControl* object, const QString& path);

    // Nothing when the file does not exist; "Cannot open file %s" when it
    // cannot be read. Returns the objects read, in stream order.
    std::vector<TQGraphicControl*> LoadCard(QObject* owner, CardObjectParent* panel, const QString& path,
        const AdoptFunction& adopt);
    // As LoadCard with the paste offset.
    std::vector<TQGraphicControl*> PasteObjects(QObject* owner, CardObjectParent* panel, const QString& path,
        const AdoptFunction& adopt);
    // Writes the object to memory and reads it back, without offset; the copy
    // (returned) has a fresh name and was handed to `adopt`.
    TQGraphicControl* DuplicateObject(TQGraphicControl* object, QObject* owner, CardObjectParent* panel,
        const AdoptFunction& adopt);

    // The stream in memory: ListBegin, one record per object, ListEnd.
    static QByteArray WriteObjects(const std::vector<TQGraphicControl*>& objects);
    // One record: "TPF0", class name, object name, entries, two zero bytes.
    static void WriteObject(TObjectWriter& writer, const TQGraphicControl& object);

    std::vector<TQGraphicControl*> ReadObjects(const QByteArray& data, QObject* owner, CardObjectParent* panel,
        const AdoptFunction& adopt);
    // Leaves the device just after the last byte consumed.
    std::vector<TQGraphicControl*> ReadObjects(QIODevice& device, QObject* owner, CardObjectParent* panel,
        const AdoptFunction& adopt);
};

} // namespace cardora
