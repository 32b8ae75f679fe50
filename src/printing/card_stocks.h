#pragma once
#include "printing/card_layout.h"
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace cardora {

// Product codes of one brand sold as the same stock.
struct TStockCodes {
    QString Brand;
    QStringList Codes;
};

// One card stock of the catalogue, in the units its data gives (inches or
// millimetres), so that what the file says is what is printed.
struct TCardStock {
    QString Brand;
    QString Name;
    QStringList Codes;               // the stock's own brand's codes, main code first
    QList<TStockCodes> Equivalents;  // other brands selling the same sheet
    int Papersize = kPaperLetter;
    bool Metric = false;             // sizes below in millimetres, else inches
    double CardWidth = 3.5;
    double CardHeight = 2.0;
    double CornerRadius = 0.0;
    int Across = 2;
    int Down = 5;
    double LeftMargin = 0.75;
    double TopMargin = 0.5;
    double HPitch = 3.5;
    double VPitch = 2.0;
    bool Custom = false; // a card size to start from, not a product
    bool User = false;   // the user's own, from the user's data folder

    double Inches(double value) const { return Metric ? MillimetresToInches(value) : value; }
    // "Brand Code" for every code, the stock's own first.
    QStringList AllCodes() const;
    // True when `text` (any case, spaces and hyphens ignored) is one of the
    // stock's codes, with or without its brand in front.
    bool HasCode(const QString& text) const;
    // True when `text` occurs in the name, a brand or a code (for the search field).
    bool Matches(const QString& text) const;
};

// The stock's sizes, counts and paper loaded into `layout` (other fields kept).
TCardLayout ApplyStock(TCardLayout layout, const TCardStock& stock);
// A user stock made from a layout the user entered.
TCardStock StockFromLayout(const TCardLayout& layout, const QString& name);

// Reads a card stock file: {"format": 1, "stocks": [ {...}, ... ]}. Every
// entry is checked (sizes, counts, cards on the paper, no overlaps, codes
// unique); on the first fault, nothing is returned and *error says where.
std::vector<TCardStock> ParseCardStocks(const QByteArray& data, QString* error);
// The empty text when the stock is sound, else what is wrong with it.
QString CardStockProblem(const TCardStock& stock);
QJsonObject CardStockToJson(const TCardStock& stock);
QByteArray CardStocksFileText(const std::vector<TCardStock>& stocks);

// The catalogue shipped with the program (read once); *error, when given,
// receives the reason the shipped file was refused (then the list is empty).
const std::vector<TCardStock>& ShippedCardStocks(QString* error = nullptr);

// The user's own stocks: a file in the per-user data folder.
QString UserStocksFileName();
// An absent file is an empty list; a damaged one is an empty list with *error set.
std::vector<TCardStock> LoadUserStocks(QString* error);
// Written safely; the error text, empty on success.
QString SaveUserStocks(const std::vector<TCardStock>& stocks);
// The stocks of a file given to import, refused whole with a clear message
// when it is not a sound card stock file (too large, damaged, hostile values).
std::vector<TCardStock> ReadStockFile(const QString& path, QString* error);
// `imported` added to `own`: a stock of the same name is replaced. Refuses
// (empty *error otherwise) a code another stock of `catalogue` already sells.
std::vector<TCardStock> MergeUserStocks(const std::vector<TCardStock>& own, const std::vector<TCardStock>& imported,
    const std::vector<TCardStock>& catalogue, QString* error);

// Shipped stocks, then the user's (marked User). *userError as LoadUserStocks.
std::vector<TCardStock> AllCardStocks(QString* userError = nullptr);
// The first stock with that code, or null.
const TCardStock* FindStockByCode(const std::vector<TCardStock>& stocks, const QString& code);

} // namespace cardora
