#pragma once

namespace cardora {

// The card and sheet layout in inches from the sheet's physical top-left corner.
struct TCardLayout {
    double Height = 2.0;
    double Width = 3.5;
    int Across = 2;
    int Down = 5;
    double TopMargin = 0.5;
    double LeftMargin = 0.75;
    double HPitch = 3.5;
    double VPitch = 2.0;
    int PredefLayout = 0;
    int Papersize = 1; // 1 Letter, 9 A4
    bool UseMM = false;
};

// Printer fine tuning in 1/32 inch steps.
struct TPrinterNudges {
    int TopMarginNudge = 0;
    int LeftMarginNudge = 0;
    int VerticalSpacing = 0;
    int HorizontalSpacing = 0;
};

} // namespace cardora
