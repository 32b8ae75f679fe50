#pragma once
#include "core/graphics_attributes.h"
#include "objects/class_registry.h"
#include "objects/graphic_control.h"
#include "objects/stream_error.h"
#include <QByteArray>
#include <QStringList>
#include <stdexcept>

namespace cardora::test {

enum TestShape { tsRectangle, tsEllipse, tsDiamond };
enum TestOption { toShadow = 1, toOutline = 2, toMirror = 4 }; // set bits

// A card object kind for tests of the card file: one stored property of
// every kind, registered as "TTestCardObject".
class TTestCardObject : public TQGraphicControl {
public:
    explicit TTestCardObject(QObject* owner = nullptr) : TQGraphicControl(owner)
    {
        ++LiveCount;
        pen_.OnChange = [this] { changed(); };
        brush_.OnChange = [this] { changed(); };
    }
    ~TTestCardObject() override { --LiveCount; }

    static QString StaticClassName() { return QStringLiteral("TTestCardObject"); }
    static TQGraphicControl* Create(QObject* owner) { return new TTestCardObject(owner); }
    static void Register() { RegisterCardClass<TTestCardObject>(); }
    QString ClassName() const override { return StaticClassName(); }

    int Shape() const { return shape_; }
    void SetShape(int v) { shape_ = v; }
    int Options() const { return options_; }
    void SetOptions(int v) { options_ = v; }
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c) { backColor_ = c; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& s) { caption_ = s; }
    int Version() const { return 3; }
    TFont* FontObject() { return Font(); }
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    // "BM..." like a bitmap, or empty.
    QByteArray PictureData() const
    {
        if (FailOnSave)
            throw std::runtime_error("cannot save this picture");
        return picture_;
    }
    void SetPictureData(const QByteArray& d)
    {
        if (!d.isEmpty() && !d.startsWith("BM"))
            throw EStreamError(QStringLiteral("Bitmap image is not valid"));
        picture_ = d;
    }
    QStringList Items() const { return items_; }
    void SetItems(const QStringList& l) { items_ = l; }
    QString Partner() const { return partner_; }
    void SetPartner(const QString& s) { partner_ = s; }

    void Loaded() override
    {
        TQGraphicControl::Loaded();
        ++LoadedCalls;
        LoadingWhenLoaded = IsLoading();
    }

    const PropertyTable& Properties() const override
    {
        static const PropertyTable t = [this] {
            using T = TTestCardObject;
            PropertyTable p = TQGraphicControl::Properties();
            p.push_back(OrdinalProp<T, int>(PropKind::Enum, "Shape", tsRectangle, &T::Shape, &T::SetShape,
                { "tsRectangle", "tsEllipse", "tsDiamond" }));
            p.push_back(OrdinalProp<T, int>(PropKind::Set, "Options", 0, &T::Options, &T::SetOptions,
                { "toShadow", "toOutline", "toMirror" }));
            p.push_back(IntegerProp<T, int>("Count", 0, &T::Count, &T::SetCount));
            p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BackColor", clWhite, &T::BackColor,
                &T::SetBackColor));
            p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Transparent", std::nullopt, &T::Transparent,
                &T::SetTransparent));
            p.push_back(TextProp<T>("Caption", &T::Caption, &T::SetCaption));
            PropertyDecl version = IntegerProp<T, int>("Version", std::nullopt, &T::Version, nullptr);
            version.setOrdinal = nullptr;
            version.readOnly = true;
            p.push_back(version);
            PropertyDecl font = NestedProp<T, TFont>("Font", &T::FontObject);
            font.storedWhen = [](const Persistent& o) { return !static_cast<const T&>(o).ParentFont(); };
            p.push_back(font);
            p.push_back(NestedProp<T, TPen>("Pen", &T::Pen));
            p.push_back(NestedProp<T, TBrush>("Brush", &T::Brush));
            PropertyDecl picture;
            picture.name = "Picture";
            picture.kind = PropKind::Binary;
            picture.getBinary = [](const Persistent& o) { return static_cast<const T&>(o).PictureData(); };
            picture.setBinary = [](Persistent& o, const QByteArray& d) { static_cast<T&>(o).SetPictureData(d); };
            p.push_back(picture);
            PropertyDecl items;
            items.name = "Items";
            items.kind = PropKind::Strings;
            items.getStrings = [](const Persistent& o) { return static_cast<const T&>(o).Items(); };
            items.setStrings = [](Persistent& o, const QStringList& l) { static_cast<T&>(o).SetItems(l); };
            p.push_back(items);
            PropertyDecl partner = TextProp<T>("Partner", &T::Partner, &T::SetPartner);
            partner.kind = PropKind::Reference;
            p.push_back(partner);
            return p;
        }();
        return t;
    }

    bool FailOnSave = false;
    int LoadedCalls = 0;
    bool LoadingWhenLoaded = false;
    static inline int LiveCount = 0;

private:
    void changed()
    {
        Invalidate();
        if (!IsLoading())
            NotifyChanged();
    }

    int shape_ = tsRectangle;
    int options_ = 0;
    int count_ = 0;
    TColor backColor_ = clWhite;
    bool transparent_ = false;
    QString caption_;
    TPen pen_;
    TBrush brush_;
    QByteArray picture_;
    QStringList items_;
    QString partner_;
};

// The base properties, a line style and a pen, under the line's card file
// class name (not registered: only for checking what is written).
class TTestLineObject : public TQGraphicControl {
public:
    explicit TTestLineObject(QObject* owner = nullptr) : TQGraphicControl(owner) {}
    QString ClassName() const override { return QStringLiteral("TQLineShape"); }
    int LineStyle() const { return lineStyle_; }
    void SetLineStyle(int v) { lineStyle_ = v; }
    TPen* Pen() { return &pen_; }

    const PropertyTable& Properties() const override
    {
        static const PropertyTable t = [this] {
            using T = TTestLineObject;
            PropertyTable p = TQGraphicControl::Properties();
            p.push_back(OrdinalProp<T, int>(PropKind::Enum, "LineStyle", 0, &T::LineStyle, &T::SetLineStyle,
                { "stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown" }));
            p.push_back(NestedProp<T, TPen>("Pen", &T::Pen));
            return p;
        }();
        return t;
    }

private:
    int lineStyle_ = 0;
    TPen pen_;
};

} // namespace cardora::test
