#include "printing/select_cards_dialog.h"
#include "printing/sheet_printer.h"
#include <QComboBox>
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "printing/printer_choice.h"
#include "report/printer_report.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QToolButton>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace cardora {

namespace {
constexpr int kPictureOffset = 10;
constexpr QSize kPictureSize(204, 237);
constexpr QSize kLargestPicture(800, 1000);

double pictureScale(int ppi) { return 0.2 * ppi; }

// A GDI rectangle: right and bottom are not part of it.
QRect gdiRect(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }

void drawGdiRectangle(QPainter& p, const QRect& r, const QColor& fill)
{
    p.fillRect(r, fill);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}
} // namespace

// ---- picture geometry

QRect TSelectionPicture::PageRect(QSizeF pageInches, int ppi)
{
    const double s = pictureScale(ppi);
    return gdiRect(kPictureOffset, kPictureOffset, Trunc(pageInches.width() * s) + kPictureOffset,
        Trunc(pageInches.height() * s) + kPictureOffset);
}

std::vector<QRect> TSelectionPicture::PositionRects(const TCardLayout& l, int ppi)
{
    const double s = pictureScale(ppi);
    const int across = std::clamp(l.Across, 1, kMaxAcross);
    const int down = std::clamp(l.Down, 1, kMaxDown);
    // Kept within a few thousand pixels whatever a damaged layout says.
    auto px = [s](double inches) { return Trunc(std::clamp(inches, -100.0, 100.0) * s); };
    std::vector<QRect> rects;
    rects.reserve(static_cast<std::size_t>(across * down));
    for (int row = 0; row < down; ++row) {
        for (int col = 0; col < across; ++col) {
            const int left = px(l.LeftMargin) + col * px(l.HPitch) + kPictureOffset;
            const int top = px(l.TopMargin) + row * px(l.VPitch) + kPictureOffset;
            rects.push_back(gdiRect(left, top, left + px(l.Width), top + px(l.Height)));
        }
    }
    return rects;
}

int TSelectionPicture::PositionAt(const std::vector<QRect>& rects, QPoint p)
{
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (rects[i].contains(p))
            return static_cast<int>(i);
    return -1;
}

void TSelectionPaintBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (OnPaint)
        OnPaint(p);
}

void TSelectionPaintBox::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event->position().toPoint());
}

// ---- the dialog

TSelectSpecificLabels::TSelectSpecificLabels(TReport* settings, QWidget* parent)
    : QDialog(parent), settings_(settings), ppi_(ScreenPixelsPerInch())
{
    setObjectName("SelectSpecificLabels");
    setWindowTitle("Print Cards");

    auto* top = new QHBoxLayout(this);
    auto* left = new QGroupBox(" Select Cards To Print", this);
    left->setObjectName("Panel1");
    auto* leftLayout = new QVBoxLayout(left);
    PaintBox1 = new TSelectionPaintBox(left);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->setFixedSize(kPictureSize);
    PaintBox1->setToolTip("Click a card to print it or leave it out");
    PaintBox1->OnPaint = [this](QPainter& p) { paintSheet(p); };
    PaintBox1->OnMouseDown = [this](QPoint p) { toggleCardAt(p); };
    leftLayout->addWidget(PaintBox1);
    auto* allNone = new QHBoxLayout;
    auto* all = new QPushButton("&All", left);
    all->setObjectName("SelectAll");
    auto* none = new QPushButton("&None", left);
    none->setObjectName("Selectnone");
    allNone->addWidget(all);
    allNone->addWidget(none);
    leftLayout->addLayout(allNone);
    top->addWidget(left);

    auto* right = new QVBoxLayout;
    auto* printerBox = new QGroupBox("Printer", this);
    auto* printerLayout = new QVBoxLayout(printerBox);
    PrinterLabel = new QLabel(printerBox);
    PrinterLabel->setTextFormat(Qt::PlainText);
    PrinterLabel->setObjectName("PrinterLabel");
    PrinterLabel->setWordWrap(true);
    auto* setup = new QPushButton("Print &Setup", printerBox);
    setup->setObjectName("PrinterSetupButton");
    printerLayout->addWidget(PrinterLabel);
    printerLayout->addWidget(setup);
    right->addWidget(printerBox);

    auto* pagesBox = pagesBox_ = new QGroupBox("Pages", this);
    auto* pagesLayout = new QHBoxLayout(pagesBox);
    auto* pagesLabel = new QLabel("Number of &pages:", pagesBox);
    pages = new QSpinBox(pagesBox);
    pages->setObjectName("pages");
    pages->setRange(1, 99);
    pages->setValue(1);
    pagesLabel->setBuddy(pages);
    pagesLayout->addWidget(pagesLabel);
    pagesLayout->addWidget(pages);
    right->addWidget(pagesBox);
    // Also for merged records, which hide the number of pages.
    auto* sidesBox = new QGroupBox("Sheet and back side", this);
    auto* sidesLayout = new QVBoxLayout(sidesBox);
    auto* startRow = new QHBoxLayout;
    auto* startLabel = new QLabel("S&tart at card:", sidesBox);
    StartAt = new QSpinBox(sidesBox);
    StartAt->setObjectName("StartAt");
    StartAt->setRange(1, 10);
    StartAt->setWhatsThis("For a sheet with some cards already used: the first sheet starts at this card, "
                          "counted row by row; the cards before it are left blank.");
    startLabel->setBuddy(StartAt);
    startRow->addWidget(startLabel);
    startRow->addWidget(StartAt);
    startRow->addStretch(1);
    sidesLayout->addLayout(startRow);
    BackSides = new QComboBox(sidesBox);
    BackSides->setObjectName("BackSides");
    BackSides->addItems(BackChoiceNames());
    BackSides->setWhatsThis("With a duplex printer each sheet's backs print right after its fronts, mirrored so "
                            "that each back lands behind its own front. Without one, the fronts print first; "
                            "then you turn the sheets over, put them back and print the backs.");
    BackSides->setEnabled(false);
    sidesLayout->addWidget(BackSides);
    right->addWidget(sidesBox);
    connect(StartAt, &QSpinBox::valueChanged, this, [this] { PaintBox1->update(); });

    RecordsBox = new QGroupBox("Records", this);
    RecordsBox->setObjectName("RecordsBox");
    RecordsBox->setWhatsThis("One card is printed for each record of the merged data, in position order, "
                             "on as many sheets as they take.");
    auto* recordsLayout = new QGridLayout(RecordsBox);
    AllRecords = new QRadioButton("All &records", RecordsBox);
    AllRecords->setObjectName("AllRecords");
    AllRecords->setChecked(true);
    RecordRange = new QRadioButton("&From", RecordsBox);
    RecordRange->setObjectName("RecordRange");
    FirstRecord = new QSpinBox(RecordsBox);
    FirstRecord->setObjectName("FirstRecord");
    LastRecord = new QSpinBox(RecordsBox);
    LastRecord->setObjectName("LastRecord");
    recordsLayout->addWidget(AllRecords, 0, 0, 1, 4);
    recordsLayout->addWidget(RecordRange, 1, 0);
    recordsLayout->addWidget(FirstRecord, 1, 1);
    recordsLayout->addWidget(new QLabel("to", RecordsBox), 1, 2);
    recordsLayout->addWidget(LastRecord, 1, 3);
    // Typing a number means a range.
    for (QSpinBox* box : {FirstRecord, LastRecord})
        connect(box, &QSpinBox::valueChanged, this, [this] { RecordRange->setChecked(true); });
    connect(FirstRecord, &QSpinBox::valueChanged, this, [this](int v) {
        if (LastRecord->value() < v)
            LastRecord->setValue(v);
    });
    connect(LastRecord, &QSpinBox::valueChanged, this, [this](int v) {
        if (FirstRecord->value() > v)
            FirstRecord->setValue(v);
    });
    RecordsBox->hide();
    right->addWidget(RecordsBox);
    CropMarks = new QCheckBox("&Crop marks", this);
    CropMarks->setObjectName("CropMarks");
    CropMarks->setToolTip("Thin cutting marks outside each card's corners");
    right->addWidget(CropMarks);
    right->addStretch(1);

    DialogButtonsLook look;
    look.ok = { "OK", "OKbutton" };
    look.openHelp = [this] { showHelp(); };
    look.onOk = [this] { applyAndClose(); };
    look.onCancel = [this] { cancelAndClose(); };
    TDialogButtons(*this, std::move(look)).AddColumn(*right);
    top->addLayout(right);

    connect(all, &QPushButton::clicked, this, [this] { selectAll(); });
    connect(none, &QPushButton::clicked, this, [this] { selectNone(); });
    connect(setup, &QPushButton::clicked, this, [this] { setUpPrinter(); });

    // FormCreate: the current printer's name.
    refreshPrinterName();
}

void TSelectSpecificLabels::Setup(const TPositionSelection& flags, const TCardLayout& layout, QSizeF pageInches)
{
    flags_ = flags;
    layout_ = layout;
    layout_.Across = std::clamp(layout.Across, 1, kMaxAcross);
    layout_.Down = std::clamp(layout.Down, 1, kMaxDown);
    flags_.Resize(static_cast<std::size_t>(Positions()));
    StartAt->setRange(1, Positions());
    pageInches_ = pageInches;
    prepareToShow();
}

void TSelectSpecificLabels::SetRecordCount(int count)
{
    records_ = std::max(0, count);
    RecordsBox->setVisible(records_ > 0);
    pagesBox_->setVisible(records_ == 0);
    if (records_ == 0)
        return;
    for (QSpinBox* box : {FirstRecord, LastRecord}) {
        const QSignalBlocker quiet(box);
        box->setRange(1, records_);
    }
    {
        const QSignalBlocker quiet1(FirstRecord), quiet2(LastRecord);
        FirstRecord->setValue(1);
        LastRecord->setValue(records_);
    }
    AllRecords->setChecked(true);
    RecordsBox->setTitle(QString("Records (%1)").arg(records_));
}

TRecordRange TSelectSpecificLabels::ChosenRecords() const
{
    if (records_ == 0 || AllRecords->isChecked())
        return TRecordRange{1, std::max(1, records_)};
    return TRecordRange{FirstRecord->value(), LastRecord->value()};
}

QRect TSelectSpecificLabels::PageRect() const { return TSelectionPicture::PageRect(pageInches_, ppi_); }

void TSelectSpecificLabels::refreshPrinterName()
{
    PrinterLabel->setText(settings_ ? settings_->PrinterName() : QString());
}

void TSelectSpecificLabels::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    prepareToShow();
}

void TSelectSpecificLabels::prepareToShow()
{
    rects_ = TSelectionPicture::PositionRects(layout_, ppi_);
    // A sheet larger than the usual picture gets a larger picture.
    QRect extent = PageRect();
    for (const QRect& r : rects_)
        extent |= r;
    const QSize wanted(std::clamp(extent.right() + 1 + kPictureOffset, kPictureSize.width(), kLargestPicture.width()),
        std::clamp(extent.bottom() + 1 + kPictureOffset, kPictureSize.height(), kLargestPicture.height()));
    if (PaintBox1->size() != wanted)
        PaintBox1->setFixedSize(wanted);
    PaintBox1->update();
}

void TSelectSpecificLabels::paintSheet(QPainter& p)
{
    p.fillRect(PaintBox1->rect(), palette().color(QPalette::Window));
    drawGdiRectangle(p, PageRect(), Qt::white);
    for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
        paintPosition(p, i);
}

void TSelectSpecificLabels::paintPosition(QPainter& p, int index)
{
    // Cards used already, before the start, are grey on the first sheet.
    const QColor used(160, 160, 160);
    const QColor fill = index < StartPosition() - 1 ? used : flags_.At(index) ? QColor(255, 0, 0) : QColor(Qt::white);
    drawGdiRectangle(p, rects_[static_cast<std::size_t>(index)], fill);
}

void TSelectSpecificLabels::SetBackSide(const QString& backName)
{
    BackSides->setEnabled(!backName.isEmpty());
    BackSides->setToolTip(backName.isEmpty() ? QString("This card has no back side (File > Back Side...)")
                                             : "The back: " + backName);
    if (backName.isEmpty())
        BackSides->setCurrentIndex(0);
}

int TSelectSpecificLabels::StartPosition() const { return StartAt ? StartAt->value() : 1; }

void TSelectSpecificLabels::toggleCardAt(QPoint point)
{
    const int index = TSelectionPicture::PositionAt(rects_, point);
    if (index < 0)
        return;
    flags_.Toggle(index);
    PaintBox1->update(rects_[static_cast<std::size_t>(index)]);
}

void TSelectSpecificLabels::selectAll()
{
    for (int i = 0; i < Positions(); ++i)
        flags_.Set(i, true);
    PaintBox1->update();
}

void TSelectSpecificLabels::selectNone()
{
    for (int i = 0; i < Positions(); ++i)
        flags_.Set(i, false);
    PaintBox1->update();
}

void TSelectSpecificLabels::setUpPrinter()
{
    if (auto* printer = dynamic_cast<TPrinterReport*>(settings_))
        RunPrinterDialog(*printer, &TPrinterReport::PrinterSetupDialog);
    else if (settings_)
        settings_->PrinterSetupDialog();
    refreshPrinterName();
}

void TSelectSpecificLabels::applyAndClose()
{
    bool fromStart = false;
    for (int i = StartPosition() - 1; i < Positions(); ++i)
        fromStart = fromStart || flags_.At(i);
    if (!flags_.AnyOf(Positions()))
        Inform("You must select at least one card to print");
    else if (!fromStart && pages->value() == 1)
        Inform(QString("No card selected to print is at or after card %1, where the sheet starts").arg(StartPosition()));
    else
        done(mrOk);
    if (settings_) {
        settings_->SetOrientation(PageOrientation::Portrait);
        settings_->SetCopies(records_ > 0 ? 1 : pages->value()); // records decide the sheets
    }
}

void TSelectSpecificLabels::cancelAndClose() { done(mrCancel); }
void TSelectSpecificLabels::showHelp() { emit HelpRequested(kHelpContext); }
void TSelectSpecificLabels::reject() { cancelAndClose(); }

void TSelectSpecificLabels::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: applyAndClose(); return;
    case Qt::Key_Escape: cancelAndClose(); return;
    default: QDialog::keyPressEvent(event);
    }
}

} // namespace cardora
