#include "objects/text_label.h"
#include "objects/class_registry.h"
#include "core/assign.h"
#include "core/rounding.h"
#include "core/modal.h"
#include "objects/box_menu.h"
#include "objects/text_label_dialogs.h"
#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace cardora {

const QStringList& AlignmentNames()
{
    static const QStringList n = { "taLeftJustify", "taRightJustify", "taCenter" };
    return n;
}

const QStringList& HighlightDirectionNames()
{
    static const QStringList n = { "hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp" };
    return n;
}

const QStringList& ShadowDirectionNames()
{
    static const QStringList n = { "sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown" };
    return n;
}

const QStringList& BorderStyleNames()
{
    static const QStringList n = { "bsNone", "bsSingle" };
    return n;
}

// ---- TQBaseLabel

TQBaseLabel::TQBaseLabel(QObject* owner) : TQGraphicControl(owner)
{
    // Font changes move the text: chain the layout onto the base's handling.
    auto baseChange = Font()->OnChange;
    Font()->OnChange = [this, baseChange] {
        layoutDirty_ = true;
        if (baseChange)
            baseChange();
    };
    // The label sets its own font, so it never takes the panel's.
    SetLoading(true);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(10);
    SetParentFont(false);
    // The panel's placing is the first bounds check, not this initial size.
    SetBounds(0, 0, 142, 33);
    SetLoading(false);
}

TQBaseLabel::~TQBaseLabel() { Font()->OnChange = nullptr; }

void TQBaseLabel::changedVisibly()
{
    repaint();
    if (!IsLoading())
        NotifyChanged();
}

void TQBaseLabel::SetAlignment(TextAlignment v)
{
    if (v < TextAlignment::LeftJustify || v > TextAlignment::Center || !Assign(alignment_, v))
        return;
    layoutDirty_ = true;
    changedVisibly();
}

void TQBaseLabel::recomputeShadowOffset() { layout_.shadowOffset = ShadowOffsetFor(directionShadow_, depthShadow_); }

void TQBaseLabel::recomputeHighlightOffset()
{
    layout_.highlightOffset = HighlightOffsetFor(directionHighlight_, depthHighlight_);
}

void TQBaseLabel::SetDepthHighlight(int v)
{
    v = BoundedCoordinate(v);
    if (v == depthHighlight_)
        return;
    depthHighlight_ = v;
    recomputeHighlightOffset();
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::SetDirectionHighlight(HighlightDirection v)
{
    if (v < HighlightDirection::NoHighlight || v > HighlightDirection::Up || !Assign(directionHighlight_, v))
        return;
    recomputeHighlightOffset();
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::SetDepthShadow(int v)
{
    v = BoundedCoordinate(v);
    if (v == depthShadow_)
        return;
    depthShadow_ = v;
    recomputeShadowOffset();
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::SetDirectionShadow(ShadowDirection v)
{
    if (v < ShadowDirection::NoShadow || v > ShadowDirection::Down || !Assign(directionShadow_, v))
        return;
    recomputeShadowOffset();
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::SetColorHighlight(TColor v)
{
    if (Assign(colorHighlight_, v))
        repaint();
}

void TQBaseLabel::SetColorShadow(TColor v)
{
    if (Assign(colorShadow_, v))
        repaint();
}

void TQBaseLabel::SetAngle(int v)
{
    if (v == angle_ || (v != 0 && v != 90 && v != 180 && v != 270))
        return;
    const int oldWidth = Width(), oldHeight = Height();
    angle_ = v;
    layoutDirty_ = true;
    // A card file's bounds and alignment already belong to its angle.
    if (IsLoading())
        return;
    // Alignment means something only for level text.
    if (v != 0)
        SetAlignment(TextAlignment::LeftJustify);
    const bool level = v == 0 || v == 180;
    if ((level && Height() > Width()) || (!level && Width() > Height())) {
        SetHeight(oldWidth);
        SetWidth(oldHeight);
    }
    repaint();
}

void TQBaseLabel::SetCaption(const QString& v)
{
    if (!Assign(caption_, v))
        return;
    layoutDirty_ = true;
    changedVisibly();
}

void TQBaseLabel::SetTransparent(bool v)
{
    if (!Assign(transparent_, v))
        return;
    if (transparentItem_)
        transparentItem_->setChecked(v);
    changedVisibly();
}

void TQBaseLabel::SetBackColor(TColor v)
{
    if (Assign(backColor_, v))
        changedVisibly();
}

void TQBaseLabel::SetBorderStyle(LabelBorder v)
{
    if (v >= LabelBorder::NoBorder && v <= LabelBorder::Single && Assign(borderStyle_, v))
        changedVisibly();
}

const PropertyTable& TQBaseLabel::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQBaseLabel;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(OrdinalProp<T, TextAlignment>(PropKind::Enum, "Alignment", int(TextAlignment::LeftJustify),
            &T::Alignment, &T::SetAlignment, AlignmentNames()));
        p.push_back(IntegerProp<T, int>("DepthHighlight", 0, &T::DepthHighlight, &T::SetDepthHighlight));
        p.push_back(IntegerProp<T, int>("DepthShadow", 0, &T::DepthShadow, &T::SetDepthShadow));
        p.push_back(OrdinalProp<T, HighlightDirection>(PropKind::Enum, "DirectionHighlight", int(HighlightDirection::UpLeft),
            &T::DirectionHighlight, &T::SetDirectionHighlight, HighlightDirectionNames()));
        p.push_back(OrdinalProp<T, ShadowDirection>(PropKind::Enum, "DirectionShadow", int(ShadowDirection::DownRight),
            &T::DirectionShadow, &T::SetDirectionShadow, ShadowDirectionNames()));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "colorHighlight", 0xFFFF00, &T::ColorHighlight,
            &T::SetColorHighlight));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "colorShadow", 0x808080, &T::ColorShadow,
            &T::SetColorShadow));
        p.push_back(IntegerProp<T, int>("Angle", 0, &T::Angle, &T::SetAngle));
        p.push_back(TextProp<T>("Caption", &T::Caption, &T::SetCaption));
        PropertyDecl font = NestedProp<T, TFont>("Font", &T::FontObject);
        font.storedWhen = [](const Persistent& o) { return !static_cast<const T&>(o).ParentFont(); };
        p.push_back(font);
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Transparent", std::nullopt, &T::Transparent,
            &T::SetTransparent));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BackColor", std::nullopt, &T::BackColor,
            &T::SetBackColor));
        p.push_back(OrdinalProp<T, LabelBorder>(PropKind::Enum, "BorderStyle", std::nullopt, &T::BorderStyle,
            &T::SetBorderStyle, BorderStyleNames()));
        return p;
    }();
    return t;
}

void TQBaseLabel::Loaded()
{
    TQGraphicControl::Loaded();
    // What was read while loading (font, caption, offsets) is laid out anew
    // before the label is first drawn, on the panel or on paper alike.
    layoutDirty_ = true;
}

void TQBaseLabel::BoundsChanged()
{
    TQGraphicControl::BoundsChanged();
    layoutDirty_ = true;
    if (Width() < 1 || Height() < 1)
        SetBounds(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
}

void TQBaseLabel::ApplyFont(const FontChoice& choice)
{
    TakeFont(choice);
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::ChooseFont()
{
    if (!ChooseOwnFont())
        return;
    layoutDirty_ = true;
    repaint();
}

void TQBaseLabel::Choose3DEffects()
{
    TQFont3DEffects dialog(ProgramWindow());
    dialog.Setup(*this);
    if (ExecModal(dialog) != mrOk)
        return;
    dialog.ApplyTo(*this);
    NotifyChanged();
}

void TQBaseLabel::ChooseBackColor()
{
    const std::optional<QColor> chosen = ChooseColor(ToQColor(backColor_));
    if (!chosen)
        return;
    SetBackColor(FromQColor(*chosen));
    SetTransparent(false);
    if (transparentItem_)
        transparentItem_->setChecked(transparent_);
    repaint();
}

void TQBaseLabel::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Font")), &QAction::triggered, this, [this] { ChooseFont(); });
    connect(menu.addAction(QStringLiteral("3D Effects")), &QAction::triggered, this, [this] { Choose3DEffects(); });
    alignmentItems_ = AddAlignmentMenu(menu, *this,
        { TextAlignment::LeftJustify, TextAlignment::Center, TextAlignment::RightJustify },
        [this](TextAlignment value) { SetAlignment(value); });
    transparentItem_ = menu.addAction(QStringLiteral("Transparent"));
    transparentItem_->setCheckable(true);
    transparentItem_->setChecked(transparent_);
    connect(transparentItem_, &QAction::triggered, this, [this] {
        SetTransparent(!transparent_);
        transparentItem_->setChecked(transparent_);
    });
    connect(menu.addAction(QStringLiteral("Background Color")), &QAction::triggered, this,
        [this] { ChooseBackColor(); });
    borderItem_ = menu.addAction(QStringLiteral("Border"));
    borderItem_->setCheckable(true);
    connect(borderItem_, &QAction::triggered, this,
        [this] { SetBorderStyle(borderStyle_ == LabelBorder::Single ? LabelBorder::NoBorder : LabelBorder::Single); });
}

void TQBaseLabel::PopupOpening()
{
    if (borderItem_)
        borderItem_->setChecked(borderStyle_ == LabelBorder::Single);
    if (alignmentItems_[0]) {
        alignmentItems_[0]->setChecked(alignment_ == TextAlignment::LeftJustify);
        alignmentItems_[1]->setChecked(alignment_ == TextAlignment::Center);
        alignmentItems_[2]->setChecked(alignment_ == TextAlignment::RightJustify);
    }
    // Also after a file set the value, not only after the item was used.
    if (transparentItem_)
        transparentItem_->setChecked(transparent_);
}

// ---- TQPLabel

void TQPLabel::ChooseFont()
{
    TQBaseLabel::ChooseFont();
    FitToText();
}

bool TQPLabel::EditText()
{
    TGetLabelText dialog(ProgramWindow());
    dialog.LabelText()->setText(Caption());
    if (ExecModal(dialog) != mrOk)
        return false;
    SetCaption(dialog.LabelText()->text());
    FitToText();
    repaint();
    return true;
}

void TQPLabel::AddMenuItems(QMenu& menu)
{
    TQBaseLabel::AddMenuItems(menu);
    menu.addSeparator();
    QAction* text = menu.addAction(QStringLiteral("Text"));
    text->setData(kTextItemTag);
    // Virtual, so the business-card label's dialog opens from here as well.
    connect(text, &QAction::triggered, this, [this] { EditText(); });
    menu.addSeparator();
    QMenu* rotation = menu.addMenu(QStringLiteral("Rotation"));
    const std::array<std::pair<const char*, int>, 4> angles = { { { "No Rotation", 0 }, { "90 Degrees", 90 },
        { "180 Degrees", 180 }, { "270 Degrees", 270 } } };
    for (std::size_t i = 0; i < angles.size(); ++i) {
        QAction* a = rotation->addAction(QString::fromLatin1(angles[i].first));
        a->setCheckable(true);
        const int angle = angles[i].second;
        connect(a, &QAction::triggered, this, [this, angle] { SetAngle(angle); });
        rotationItems_[i] = a;
    }
    hasRotationMenu_ = true;
}

void TQPLabel::PopupOpening()
{
    TQBaseLabel::PopupOpening();
    if (!hasRotationMenu_)
        return;
    const int angles[4] = { 0, 90, 180, 270 };
    for (int i = 0; i < 4; ++i)
        rotationItems_[i]->setChecked(Angle() == angles[i]);
}

// ---- TQBusinessCardLabel

const QStringList& TQBusinessCardLabel::PersonalInfoLabels()
{
    static const QStringList n = { "Name", "Company", "Title", "Address 1", "Address 2", "Address 3", "Phone 1",
        "Phone 2", "EMail", "Fax" };
    return n;
}

TQBusinessCardLabel* TQBusinessCardLabel::CreateForTool(QObject* owner, CardObjectParent& panel,
    const TFont& panelFont)
{
    auto* label = new TQBusinessCardLabel(owner);
    label->SetParentPanel(&panel);
    label->Loaded();
    label->SetCaption(QStringLiteral("Text"));
    label->Font()->Assign(panelFont);
    return label;
}

QStringList TQBusinessCardLabel::PanelPersonalInfo() const
{
    QStringList values = ParentPanel() ? ParentPanel()->PersonalInfo() : QStringList();
    // The panel's list is not trusted to hold exactly ten.
    values = values.mid(0, PersonalInfoLabels().size());
    while (values.size() < PersonalInfoLabels().size())
        values.append(QString());
    return values;
}

bool TQBusinessCardLabel::EditText()
{
    TGetBCLabelText dialog(PanelPersonalInfo(), ProgramWindow());
    dialog.LabelText()->setText(Caption());
    if (ExecModal(dialog) != mrOk)
        return false;
    SetCaption(dialog.LabelText()->text());
    FitToText();
    repaint();
    return true;
}

void TQBusinessCardLabel::setCaptionFromPersonalInfo(const QString& itemCaption)
{
    const int tab = itemCaption.indexOf(QLatin1Char('\t'));
    SetCaption(itemCaption.mid(tab + 1).left(255));
    FitToText();
    NotifyChanged();
    repaint();
}

void TQBusinessCardLabel::AddMenuItems(QMenu& menu)
{
    TQPLabel::AddMenuItems(menu);
    if (ParentPanel()) {
        try {
            QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().first();
            personalInfoMenu_ = new QMenu(QStringLiteral("Personal Information"), &menu);
            menu.insertMenu(first, personalInfoMenu_);
            menu.insertSeparator(first);
            rebuildPersonalInfoMenu();
        } catch (...) {
            personalInfoMenu_ = nullptr;
        }
    }
    // The Text item already calls the virtual EditText of this class.
    if (transparentItem_)
        transparentItem_->setChecked(Transparent());
}

void TQBusinessCardLabel::rebuildPersonalInfoMenu()
{
    if (!personalInfoMenu_)
        return;
    personalInfoMenu_->clear();
    const QStringList values = PanelPersonalInfo();
    for (int i = 0; i < PersonalInfoLabels().size(); ++i) {
        const QString caption = PersonalInfoLabels()[i] + QLatin1Char('\t') + values[i];
        QAction* a = personalInfoMenu_->addAction(caption);
        // An entry with nothing in it would only wipe the caption.
        a->setEnabled(!values[i].trimmed().isEmpty());
        connect(a, &QAction::triggered, this, [this, caption] { setCaptionFromPersonalInfo(caption); });
    }
}

void TQBusinessCardLabel::PopupOpening()
{
    TQPLabel::PopupOpening();
    rebuildPersonalInfoMenu();
}

// The single-line text, and the older label class card files may hold.
void RegisterTextLabelKinds()
{
    {
        ObjectKind kind;
        kind.className = TQPLabel::StaticClassName();
        kind.factory = &TQPLabel::Create;
        kind.selectionTip = QStringLiteral("Text selected: right-click it for its text, font, colours, 3-D effects and rotation.");
        ObjectKinds::Register(std::move(kind));
    }
    {
        ObjectKind kind;
        kind.className = TQBusinessCardLabel::StaticClassName();
        kind.factory = &TQBusinessCardLabel::Create;
        kind.selectionTip = QStringLiteral("Text selected: right-click it for its text, font, colours, 3-D effects and rotation.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawLabelButton");
            t.icon = QStringLiteral("text");
            t.noun = QStringLiteral("Text");
            t.hint = QStringLiteral("A line of text");
            t.whatsThis = QStringLiteral("Text tool: drag a box on the card for a single line of text, with shadow, highlight and rotation.");
            t.assistantTip = QStringLiteral("drag a box on the card where the text goes, then type it. Your personal information is offered in the list below the text.");
            t.helpTopic = 40004;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* {
                return TQBusinessCardLabel::CreateForTool(at.owner, at.parent, at.parent.DefaultFont());
            };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* label = qobject_cast<TQBusinessCardLabel*>(object);
                if (!label || !label->EditText())
                    return false;
                label->FitToText();
                return true;
            };
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
