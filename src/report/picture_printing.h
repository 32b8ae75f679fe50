#pragma once

namespace cardora {

class TPicture;
class TReport;

// Prints a picture stretched into an inch rectangle of the report. A bitmap
// goes to the printer at its own resolution (mirrored when asked); a
// metafile or SVG drawing is played straight onto the printer's painter, so
// its lines and text stay sharp. Transparent parts leave what is behind.
void PrintPicture(TReport& report, double x1, double y1, double x2, double y2, const TPicture& picture,
    bool flip = false, bool reverse = false);

} // namespace cardora
