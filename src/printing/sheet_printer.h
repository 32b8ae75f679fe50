#pragma once
#include "core/color.h"
#include "core/fields.h"
#include "imaging/picture.h"
#include "printing/card_layout.h"
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace cardora {

class CardPanel;
class TReport;
class TCardDrawer;

enum class ArtKind : std::uint8_t { None, Metafile, Bitmap };

// Which sides a job prints: fronts only; each sheet's fronts then its backs
// (a duplex printer); or only the backs, for sheets printed earlier and fed
// in again turned over.
enum class TSides { Fronts, FrontsAndBacks, Backs };

// The card printed behind each front, at the mirrored place.
struct TBackSide {
    CardPanel* Panel = nullptr; // the back card; null: no back
    QString BackgroundFile;                 // the back card's background art
    TSides Sides = TSides::Fronts;
    TDuplexEdge Edge = TDuplexEdge::Long;
    TPrinterNudges Nudges;                  // the printer's shift of the second side
};

// The print dialog's choices of sides, in its order.
enum class TBackChoice { Fronts, DuplexLong, DuplexShort, LaterLong, LaterShort };
QStringList BackChoiceNames();
// The sides and edge of a choice; `later` is true for the backs-later runs.
TBackSide BackSideFor(TBackChoice choice, bool* later = nullptr);

// What one print or preview job works from.
struct TPrintJobRequest {
    int Sheets = 1;
    TPositionSelection Selection { 10, true };
    TCardLayout Layout;
    TPrinterNudges Nudges;
    QString BackgroundFile; // the card's background art, may be empty
    bool Printing = true;   // false: a preview
    bool OutlineOnly = false;
    bool CropMarks = false; // cutting marks outside each card's corners
    // A partly used sheet: the first sheet starts at this position (from 1).
    int StartPosition = 1;
    TBackSide Back;
    // A merged run: one card per record from FirstRecord (0-based) on, at
    // most RecordCount of them (-1: to the end), in position order over as
    // many sheets as they take; Sheets is then ignored. The records must
    // outlive the job.
    const TFieldRecords* Records = nullptr;
    int FirstRecord = 0;
    int RecordCount = -1;
};

// Prints sheets of cards onto a report: walks each sheet's positions row by
// row, skipping unselected ones, and draws the background art, the card and
// its crop marks at each place. No window: the print command's status form,
// the preview, the batch tool and the benchmark all drive this one class.
class TSheetPrinter {
public:
    // The background art is always drawn this large, whatever the card size.
    static constexpr double kBackgroundWidth = 3.5;
    static constexpr double kBackgroundHeight = 2.0;
    static constexpr TColor kPreviewOutlineColor = 0xC0C0C0;

    TSheetPrinter(CardPanel& panel, const TPrintJobRequest& request);

    // Called before each card is drawn, with its 0-based position on the sheet.
    std::function<void(int index)> OnCardStarting;
    // Called after each card is drawn with its 1-based position number.
    std::function<void(int position)> OnCardPrinted;
    // Polled between cards; true stops the walk.
    std::function<bool()> StopRequested;

    // The place of the back of the card at (row, col) on the back page.
    QRectF BackCardRect(int row, int col) const;
    bool PrintsFronts() const { return request_.Back.Sides != TSides::Backs || !request_.Back.Panel; }
    bool PrintsBacks() const { return request_.Back.Panel && request_.Back.Sides != TSides::Fronts; }

    // Reads the background art; art that cannot be read is left out.
    void LoadBackground();
    // Before the first page: a driver that makes copies itself repeats the one
    // sheet; sets the status format.
    void BeforePrint(TReport& report);
    // Every sheet, cards at their places; pages between sheets.
    void PrintSheets(TReport& report);
    // LoadBackground, then the whole document on the report. Returns the
    // error text, empty on success (a cancelled run is no error).
    QString Run(TReport& report);

    int Sheets() const { return sheets_; }
    bool Merged() const { return request_.Records != nullptr; }
    const TSheetGeometry& Geometry() const { return geometry_; }
    ArtKind BackgroundKind() const { return backgroundKind_; }
    bool Printing() const { return request_.Printing; }

private:
    // One side of one sheet; false when the job was stopped. `record(index)`
    // shows the card's record of a merged run, false when none is left.
    bool printSide(TReport& report, TCardDrawer& drawer, int sheet, bool back, const std::function<bool(int)>& record);
    void drawCropMarks(TReport& report, const TSheetGeometry& geometry, int row, int col);
    void drawAlignmentCross(TReport& report, const QRectF& card);

    CardPanel& panel_;
    TPrintJobRequest request_;
    TSheetGeometry geometry_;
    int sheets_ = 1;
    int firstRecord_ = 0; // the merged run's records, first and past the last
    int endRecord_ = 0;
    ArtKind backgroundKind_ = ArtKind::None;
    TPicture background_;
    TSheetGeometry backGeometry_; // the mirrored layout with the back's nudges
    TPicture backBackground_;
};

} // namespace cardora
