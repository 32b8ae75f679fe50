#include "objects/card_filer.h"
#include "core/object_stream.h"
#include "core/printable_text.h"
#include "core/safe_file.h"
#include "objects/class_registry.h"
#include "objects/graphic_control.h"
#include "objects/stream_error.h"
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace cardora {

namespace {

// Child records never occur in card files; nested deeper than this they are
// not read at all.
constexpr int kMaxChildNesting = 16;
constexpr int kLastComponentNumber = 1000;

// Far beyond any card (a card with a large photo is a few megabytes).
constexpr qint64 kMaxCardFileBytes = 256LL * 1024 * 1024;

void writeFile(const QByteArray& data, const QString& path)
{
    // A save that fails part way (disk full, size limit) leaves the old card.
    // The message names the system's reason (no space, permission, read-only).
    if (const QString error = WriteFileSafely(path, data); !error.isEmpty())
        throw EStreamError(error);
}

QList<TQGraphicControl*> cardChildren(QObject* owner)
{
    if (!owner)
        return {};
    return owner->findChildren<TQGraphicControl*>(QString(), Qt::FindDirectChildrenOnly);
}

// The state of one read of a list of objects.
class StreamRead {
public:
    StreamRead(TObjectReader& reader, QObject* owner, QObject* nameOwner, CardObjectParent* panel,
        bool pasteOffset, const TQLabelObjectFiler::AdoptFunction& adopt)
        : reader_(reader), owner_(owner), nameOwner_(nameOwner), panel_(panel), pasteOffset_(pasteOffset),
          adopt_(adopt)
    {
        for (TQGraphicControl* c : cardChildren(nameOwner_))
            taken_.insert(c->Name().toLower());
    }

    std::vector<TQGraphicControl*> Run()
    {
        try {
            reader_.ExpectTag(ValueTag::ListBegin, StreamMessage::InvalidFormat);
            while (!reader_.EndOfList()) {
                reader_.ReadSignature();
                readObject();
            }
            reader_.ReadByte();
        } catch (...) {
            // Objects completed before the failure stay; they must not be
            // left half-loaded on the panel.
            try {
                finish();
            } catch (...) {
            }
            throw;
        }
        finish();
        return read_;
    }

private:
    QString freshName(const QString& storedName)
    {
        // Names are only added during a read, so the first free number never
        // goes down.
        for (; nextNumber_ <= kLastComponentNumber; ++nextNumber_) {
            const QString candidate = QStringLiteral("Component%1").arg(nextNumber_);
            if (!taken_.contains(candidate.toLower()))
                return candidate;
        }
        return storedName;
    }

    TQGraphicControl* findAncestor(const QString& name) const
    {
        for (TQGraphicControl* c : cardChildren(owner_))
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
        return nullptr;
    }

    void readObject()
    {
        int flags = 0;
        const std::uint8_t first = reader_.PeekByte();
        if ((first & 0xF0) == 0xF0) {
            reader_.ReadByte();
            flags = first & 0x0F;
            if (flags & 0x02)
                reader_.ReadInteger(); // child position, meaningless on a card
        }
        const QString className = reader_.ReadShortName();
        const QString storedName = reader_.ReadShortName();

        TQGraphicControl* object = nullptr;
        const bool inherited = flags & 0x01;
        if (inherited) {
            object = findAncestor(storedName);
            if (!object)
                throw EObjectStreamError(
                    QString::fromLatin1(StreamMessage::AncestorNotFound).arg(PrintableText(storedName)));
            object->SetLoading(true);
        } else {
            const CardObjectFactory* factory = CardClassRegistry::Instance().Find(className);
            if (factory)
                object = (*factory)(owner_);
            if (!object)
                throw EObjectStreamError(
                    QString::fromLatin1(StreamMessage::ClassNotFound).arg(PrintableText(className)));
        }

        const std::size_t referencesBefore = references_.size();
        try {
            if (!inherited) {
                object->SetLoading(true);
                object->SetParentPanel(panel_);
                object->SetName(freshName(storedName));
            }
            while (!reader_.EndOfList()) {
                const QString path = reader_.ReadShortName();
                ReadPropertyEntry(reader_, *object, path, &references_);
            }
            reader_.ReadByte();
            while (!reader_.EndOfList())
                skipChild(0);
            reader_.ReadByte();
            if (pasteOffset_) {
                object->SetTop(object->Top() + 15);
                object->SetLeft(object->Left() + 15);
            }
        } catch (...) {
            references_.resize(referencesBefore);
            if (!inherited)
                delete object;
            throw;
        }
        taken_.insert(object->Name().toLower());
        // Only an inherited object can come round again; searching for every
        // new one made long cards quadratic.
        if (!inherited || std::find(read_.begin(), read_.end(), object) == read_.end())
            read_.push_back(object);
        if (!inherited && adopt_)
            adopt_(object);
    }

    // A child record is passed over without creating anything.
    void skipChild(int depth)
    {
        if (depth > kMaxChildNesting)
            throw EObjectStreamError(QString::fromLatin1(StreamMessage::InvalidFormat));
        const std::uint8_t first = reader_.PeekByte();
        if ((first & 0xF0) == 0xF0) {
            reader_.ReadByte();
            if (first & 0x02)
                reader_.ReadInteger();
        }
        reader_.ReadShortName();
        reader_.ReadShortName();
        while (!reader_.EndOfList()) {
            reader_.ReadShortName();
            reader_.SkipValue();
        }
        reader_.ReadByte();
        while (!reader_.EndOfList())
            skipChild(depth + 1);
        reader_.ReadByte();
    }

    QObject* findReferenced(const QString& name) const
    {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            // "Owner.Component": the top-level component first.
            QObject* top = nameOwner_;
            if (!top || top->objectName().compare(name.left(dot), Qt::CaseInsensitive) != 0)
                return nullptr;
            const QString rest = name.mid(dot + 1);
            for (QObject* c : top->children())
                if (c->objectName().compare(rest, Qt::CaseInsensitive) == 0)
                    return c;
            return nullptr;
        }
        for (TQGraphicControl* c : read_)
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
        for (TQGraphicControl* c : cardChildren(nameOwner_))
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
        return nullptr;
    }

    void finish()
    {
        // An unresolved reference stays unassigned.
        for (const PendingReference& r : references_)
            if (QObject* found = findReferenced(r.name))
                r.decl->setText(*r.target, found->objectName());
        references_.clear();
        for (TQGraphicControl* o : read_) {
            o->SetLoading(false);
            o->Loaded();
        }
    }

    TObjectReader& reader_;
    QObject* owner_;
    QObject* nameOwner_;
    CardObjectParent* panel_;
    bool pasteOffset_;
    const TQLabelObjectFiler::AdoptFunction& adopt_;
    QSet<QString> taken_;
    int nextNumber_ = 0;
    std::vector<PendingReference> references_;
    std::vector<TQGraphicControl*> read_;
};

// Clears the paste offset again however the read ends.
class PasteOffsetScope {
public:
    explicit PasteOffsetScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~PasteOffsetScope() { flag_ = false; }

private:
    bool& flag_;
};

} // namespace

void TQLabelObjectFiler::WriteObject(TObjectWriter& writer, const TQGraphicControl& object)
{
    writer.WriteSignature();
    writer.WriteShortName(object.ClassName());
    writer.WriteShortName(object.Name());
    WriteProperties(writer, object);
    writer.WriteListEnd(); // properties
    writer.WriteListEnd(); // children
}

QByteArray TQLabelObjectFiler::WriteObjects(const std::vector<TQGraphicControl*>& objects)
{
    TObjectWriter writer;
    writer.WriteListBegin();
    for (const TQGraphicControl* o : objects)
        if (o)
            WriteObject(writer, *o);
    writer.WriteListEnd();
    return writer.Data();
}

void TQLabelObjectFiler::SaveCard(const std::vector<TQGraphicControl*>& objects, const QString& path)
{
    writeFile(WriteObjects(objects), path);
}

void TQLabelObjectFiler::SaveSelection(const std::vector<TQGraphicControl*>& selected, const QString& path)
{
    if (selected.empty())
        return;
    writeFile(WriteObjects(selected), path);
}

void TQLabelObjectFiler::SaveObject(TQGraphicControl* object, const QString& path)
{
    if (!object)
        return;
    writeFile(WriteObjects({ object }), path);
}

std::vector<TQGraphicControl*> TQLabelObjectFiler::ReadObjects(QIODevice& device, QObject* owner,
    CardObjectParent* panel, const AdoptFunction& adopt)
{
    TObjectReader reader(device);
    StreamRead read(reader, owner, NameOwner ? NameOwner : owner, panel, PasteOffset, adopt);
    try {
        return read.Run();
    } catch (const EObjectStreamError& e) {
        throw EStreamError(e.Message());
    }
}

std::vector<TQGraphicControl*> TQLabelObjectFiler::ReadObjects(const QByteArray& data, QObject* owner,
    CardObjectParent* panel, const AdoptFunction& adopt)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return ReadObjects(buffer, owner, panel, adopt);
}

std::vector<TQGraphicControl*> TQLabelObjectFiler::LoadCard(QObject* owner, CardObjectParent* panel,
    const QString& path, const AdoptFunction& adopt)
{
    NameOwner = owner;
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        throw EStreamError(QString::fromLatin1(StreamMessage::CannotOpen).arg(path));
    // Read from memory (the reader asks a file for its size before each
    // value), as every input is: a regular file within the limit, so that a
    // FIFO or device cannot block or flood the reader.
    QByteArray data;
    const QString refusal = ReadInputFile(path, kMaxCardFileBytes, &data);
    if (!refusal.isEmpty())
        throw EStreamError(refusal);
    return ReadObjects(data, owner, panel, adopt);
}

std::vector<TQGraphicControl*> TQLabelObjectFiler::PasteObjects(QObject* owner, CardObjectParent* panel,
    const QString& path, const AdoptFunction& adopt)
{
    PasteOffsetScope scope(PasteOffset);
    return LoadCard(owner, panel, path, adopt);
}

TQGraphicControl* TQLabelObjectFiler::DuplicateObject(TQGraphicControl* object, QObject* owner,
    CardObjectParent* panel, const AdoptFunction& adopt)
{
    if (!object)
        return nullptr;
    NameOwner = owner;
    const std::vector<TQGraphicControl*> read = ReadObjects(WriteObjects({ object }), owner, panel, adopt);
    return read.empty() ? nullptr : read.back();
}

} // namespace cardora
