#include "printing/card_stocks.h"
#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

// Resources of a static library are registered by name, outside any namespace.
static void registerStockResources() { Q_INIT_RESOURCE(stocks); }

namespace cardora {

namespace {

constexpr int kStockFormat = 1;
constexpr qint64 kMaxStockFileBytes = 1 << 20;
constexpr int kMaxStocks = 2000;
constexpr int kMaxCodes = 100;
constexpr int kMaxTextLength = 200;
const char* kShippedStocks = ":/stocks/card_stocks.json";

// "avery 5371", "LP-800" and "lp800" are the same code to a person typing.
QString normalCode(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (!c.isSpace() && c != '-' && c != '_' && c != '.')
            out += c.toUpper();
    return out;
}

QString paperName(int papersize) { return papersize == kPaperA4 ? "A4" : "Letter"; }

// Sound text: not too long, no control characters (a file could try to
// break a list line or a message).
bool soundText(const QString& s)
{
    if (s.size() > kMaxTextLength)
        return false;
    for (const QChar c : s)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    return true;
}

bool readPair(const QJsonObject& o, const char* key, double* a, double* b)
{
    const QJsonArray v = o.value(key).toArray();
    if (v.size() != 2 || !v[0].isDouble() || !v[1].isDouble())
        return false;
    *a = v[0].toDouble();
    *b = v[1].toDouble();
    return std::isfinite(*a) && std::isfinite(*b);
}

bool readCodes(const QJsonValue& value, QStringList* codes)
{
    if (value.isUndefined())
        return true;
    const QJsonArray a = value.toArray();
    if (!value.isArray() || a.size() > kMaxCodes)
        return false;
    for (const QJsonValue& c : a) {
        if (!c.isString() || c.toString().trimmed().isEmpty() || !soundText(c.toString()))
            return false;
        *codes << c.toString().trimmed();
    }
    return true;
}

// One entry; empty text when read, else why not.
QString readStock(const QJsonObject& o, TCardStock* s)
{
    s->Brand = o.value("brand").toString().trimmed();
    s->Name = o.value("name").toString().trimmed();
    if (s->Name.isEmpty() || !soundText(s->Name))
        return "it has no sound name";
    if (!soundText(s->Brand))
        return "its brand is not sound text";
    if (!readCodes(o.value("codes"), &s->Codes))
        return "\"codes\" must be a list of product codes";
    const QJsonValue also = o.value("also");
    if (!also.isUndefined()) {
        if (!also.isArray() || also.toArray().size() > kMaxCodes)
            return "\"also\" must be a list of {\"brand\", \"codes\"}";
        for (const QJsonValue& e : also.toArray()) {
            TStockCodes codes;
            codes.Brand = e.toObject().value("brand").toString().trimmed();
            if (!e.isObject() || codes.Brand.isEmpty() || !soundText(codes.Brand)
                || !readCodes(e.toObject().value("codes"), &codes.Codes) || codes.Codes.isEmpty())
                return "\"also\" must be a list of {\"brand\", \"codes\"}";
            s->Equivalents << codes;
        }
    }
    const QString paper = o.value("paper").toString();
    if (paper.compare("Letter", Qt::CaseInsensitive) == 0)
        s->Papersize = kPaperLetter;
    else if (paper.compare("A4", Qt::CaseInsensitive) == 0)
        s->Papersize = kPaperA4;
    else
        return "\"paper\" must be \"Letter\" or \"A4\"";
    const QString unit = o.value("unit").toString();
    if (unit != "in" && unit != "mm")
        return "\"unit\" must be \"in\" or \"mm\"";
    s->Metric = unit == "mm";
    if (!readPair(o, "card", &s->CardWidth, &s->CardHeight))
        return "\"card\" must be [width, height]";
    if (!readPair(o, "margins", &s->LeftMargin, &s->TopMargin))
        return "\"margins\" must be [left, top]";
    if (!readPair(o, "pitch", &s->HPitch, &s->VPitch))
        return "\"pitch\" must be [horizontal, vertical]";
    const QJsonArray grid = o.value("grid").toArray();
    if (grid.size() != 2 || !grid[0].isDouble() || !grid[1].isDouble())
        return "\"grid\" must be [across, down]";
    const double across = grid[0].toDouble(), down = grid[1].toDouble();
    if (across != std::floor(across) || down != std::floor(down) || across < 1 || across > kMaxAcross || down < 1
        || down > kMaxDown)
        return QString("\"grid\" must be 1 to %1 across and 1 to %2 down").arg(kMaxAcross).arg(kMaxDown);
    s->Across = static_cast<int>(across);
    s->Down = static_cast<int>(down);
    const QJsonValue radius = o.value("radius");
    if (!radius.isUndefined() && !radius.isDouble())
        return "\"radius\" must be a number";
    s->CornerRadius = radius.toDouble(0.0);
    s->Custom = o.value("custom").toBool(false);
    return CardStockProblem(*s);
}

} // namespace

// ---- one stock

QStringList TCardStock::AllCodes() const
{
    QStringList all;
    for (const QString& c : Codes)
        all << (Brand.isEmpty() ? c : Brand + ' ' + c);
    for (const TStockCodes& e : Equivalents)
        for (const QString& c : e.Codes)
            all << e.Brand + ' ' + c;
    return all;
}

bool TCardStock::HasCode(const QString& text) const
{
    const QString wanted = normalCode(text);
    if (wanted.isEmpty())
        return false;
    auto has = [&](const QString& brand, const QStringList& codes) {
        for (const QString& c : codes)
            if (normalCode(c) == wanted || normalCode(brand + c) == wanted)
                return true;
        return false;
    };
    if (has(Brand, Codes))
        return true;
    for (const TStockCodes& e : Equivalents)
        if (has(e.Brand, e.Codes))
            return true;
    return false;
}

bool TCardStock::Matches(const QString& text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    if (Name.contains(t, Qt::CaseInsensitive) || HasCode(t))
        return true;
    const QString wanted = normalCode(t);
    for (const QString& c : AllCodes())
        if (normalCode(c).contains(wanted))
            return true;
    return false;
}

TCardLayout ApplyStock(TCardLayout layout, const TCardStock& s)
{
    layout.Width = s.Inches(s.CardWidth);
    layout.Height = s.Inches(s.CardHeight);
    layout.LeftMargin = s.Inches(s.LeftMargin);
    layout.TopMargin = s.Inches(s.TopMargin);
    layout.HPitch = s.Inches(s.HPitch);
    layout.VPitch = s.Inches(s.VPitch);
    layout.Across = s.Across;
    layout.Down = s.Down;
    layout.Papersize = s.Papersize;
    return layout;
}

TCardStock StockFromLayout(const TCardLayout& l, const QString& name)
{
    TCardStock s;
    s.Name = name.trimmed();
    s.Metric = false;
    s.CardWidth = l.Width;
    s.CardHeight = l.Height;
    s.LeftMargin = l.LeftMargin;
    s.TopMargin = l.TopMargin;
    s.HPitch = l.HPitch;
    s.VPitch = l.VPitch;
    s.Across = l.Across;
    s.Down = l.Down;
    s.Papersize = l.Papersize == kPaperA4 ? kPaperA4 : kPaperLetter;
    s.User = true;
    return s;
}

QString CardStockProblem(const TCardStock& s)
{
    const double w = s.Inches(s.CardWidth), h = s.Inches(s.CardHeight);
    if (h < 0.3 || w < 0.5)
        return "the card must be at least 0.5 inch wide and 0.3 inch high";
    if (s.LeftMargin < 0 || s.TopMargin < 0)
        return "the margins must not be negative";
    if (s.CornerRadius < 0 || s.CornerRadius * 2 > std::min(s.CardWidth, s.CardHeight))
        return "the corner radius must be from 0 to half the card's shorter side";
    // Cards of a row or a column must not overlap.
    if (s.Across > 1 && s.HPitch < s.CardWidth)
        return "the cards of a row overlap: the horizontal pitch is less than the card width";
    if (s.Down > 1 && s.VPitch < s.CardHeight)
        return "the cards of a column overlap: the vertical pitch is less than the card height";
    const QSizeF paper = PaperSizeInches(s.Papersize);
    const double slack = 0.0005; // three-decimal inch figures
    const double right = s.Inches(s.LeftMargin + (s.Across - 1) * s.HPitch + s.CardWidth);
    const double bottom = s.Inches(s.TopMargin + (s.Down - 1) * s.VPitch + s.CardHeight);
    if (right > paper.width() + slack)
        return QString("the cards run off the right edge of the %1 paper").arg(paperName(s.Papersize));
    if (bottom > paper.height() + slack)
        return QString("the cards run off the bottom edge of the %1 paper").arg(paperName(s.Papersize));
    return QString();
}

std::vector<TCardStock> ParseCardStocks(const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return std::vector<TCardStock>();
    };
    if (error)
        error->clear();
    if (data.size() > kMaxStockFileBytes)
        return fail("the file is too large for a card stock file");
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(QString("it is not a card stock file (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset));
    const QJsonObject top = doc.object();
    if (!doc.isObject() || !top.value("stocks").isArray())
        return fail("it is not a card stock file (no list of \"stocks\")");
    if (top.value("format").toInt(0) != kStockFormat)
        return fail(QString("it is a card stock file of format %1; this program reads format %2")
                        .arg(top.value("format").toVariant().toString())
                        .arg(kStockFormat));
    const QJsonArray list = top.value("stocks").toArray();
    if (list.size() > kMaxStocks)
        return fail(QString("it lists more than %1 stocks").arg(kMaxStocks));
    std::vector<TCardStock> stocks;
    QSet<QString> names;
    QHash<QString, QString> codeOwner; // normal code -> stock name
    for (int i = 0; i < list.size(); ++i) {
        TCardStock s;
        if (!list[i].isObject())
            return fail(QString("stock %1 is not a {...} entry").arg(i + 1));
        const QString problem = readStock(list[i].toObject(), &s);
        const QString which = QString("stock %1 (\"%2\")").arg(i + 1).arg(s.Name.left(60));
        if (!problem.isEmpty())
            return fail(which + ": " + problem);
        if (names.contains(s.Name.toLower()))
            return fail(which + ": another stock has the same name");
        names.insert(s.Name.toLower());
        // A code, bare or after its brand, names one stock only.
        QSet<QString> own;
        QList<TStockCodes> all { TStockCodes { s.Brand, s.Codes } };
        all += s.Equivalents;
        for (const TStockCodes& group : all) {
            for (const QString& code : group.Codes) {
                for (const QString& k : { normalCode(code), normalCode(group.Brand + code) }) {
                    if (codeOwner.contains(k) && !own.contains(k))
                        return fail(which + ": the code " + code + " is already " + codeOwner.value(k) + "'s");
                    own.insert(k);
                }
            }
        }
        for (const QString& k : own)
            codeOwner.insert(k, s.Name);
        stocks.push_back(s);
    }
    return stocks;
}

QJsonObject CardStockToJson(const TCardStock& s)
{
    QJsonObject o;
    o["brand"] = s.Brand;
    o["name"] = s.Name;
    o["codes"] = QJsonArray::fromStringList(s.Codes);
    if (!s.Equivalents.isEmpty()) {
        QJsonArray also;
        for (const TStockCodes& e : s.Equivalents)
            also.append(QJsonObject { { "brand", e.Brand }, { "codes", QJsonArray::fromStringList(e.Codes) } });
        o["also"] = also;
    }
    o["paper"] = paperName(s.Papersize);
    o["unit"] = s.Metric ? "mm" : "in";
    o["card"] = QJsonArray { s.CardWidth, s.CardHeight };
    o["radius"] = s.CornerRadius;
    o["grid"] = QJsonArray { s.Across, s.Down };
    o["margins"] = QJsonArray { s.LeftMargin, s.TopMargin };
    o["pitch"] = QJsonArray { s.HPitch, s.VPitch };
    if (s.Custom)
        o["custom"] = true;
    return o;
}

QByteArray CardStocksFileText(const std::vector<TCardStock>& stocks)
{
    QJsonArray list;
    for (const TCardStock& s : stocks)
        list.append(CardStockToJson(s));
    return QJsonDocument(QJsonObject { { "format", kStockFormat }, { "stocks", list } }).toJson(QJsonDocument::Indented);
}

const std::vector<TCardStock>& ShippedCardStocks(QString* error)
{
    static QString problem;
    static const std::vector<TCardStock> stocks = [] {
        registerStockResources();
        QFile f(kShippedStocks);
        if (!f.open(QIODevice::ReadOnly)) {
            problem = "The card stock list of the program is missing";
            return std::vector<TCardStock>();
        }
        QString why;
        std::vector<TCardStock> list = ParseCardStocks(f.readAll(), &why);
        if (!why.isEmpty())
            problem = "The card stock list of the program is damaged: " + why;
        return list;
    }();
    if (error)
        *error = problem;
    return stocks;
}

TCardLayout ApplyPredefinedLayout(TCardLayout layout, int index)
{
    const auto& stocks = ShippedCardStocks();
    if (index < 0 || index >= static_cast<int>(stocks.size()))
        return layout;
    return ApplyStock(layout, stocks[static_cast<std::size_t>(index)]);
}

// ---- the user's stocks

QString UserStocksFileName()
{
    // The program's own data folder by name, so that the window and the batch
    // tool (an executable of another name) share the user's stocks.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return QDir::homePath() + "/.cardora/card_stocks.json";
    return data + "/Cardora/card_stocks.json";
}

std::vector<TCardStock> ReadStockFile(const QString& path, QString* error)
{
    QByteArray data;
    const QString refusal = ReadInputFile(path, kMaxStockFileBytes, &data);
    if (!refusal.isEmpty()) {
        *error = refusal;
        return {};
    }
    QString why;
    std::vector<TCardStock> stocks = ParseCardStocks(data, &why);
    if (!why.isEmpty()) {
        *error = "Cannot read card stocks from " + QDir::toNativeSeparators(path) + ": " + why;
        return {};
    }
    for (TCardStock& s : stocks)
        s.User = true;
    error->clear();
    return stocks;
}

std::vector<TCardStock> LoadUserStocks(QString* error)
{
    error->clear();
    const QString path = UserStocksFileName();
    if (!QFile::exists(path))
        return {};
    return ReadStockFile(path, error);
}

QString SaveUserStocks(const std::vector<TCardStock>& stocks)
{
    const QString path = UserStocksFileName();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return WriteFileSafely(path, CardStocksFileText(stocks));
}

std::vector<TCardStock> MergeUserStocks(const std::vector<TCardStock>& own, const std::vector<TCardStock>& imported,
    const std::vector<TCardStock>& catalogue, QString* error)
{
    error->clear();
    std::vector<TCardStock> merged;
    auto replacedByImport = [&](const TCardStock& s) {
        for (const TCardStock& i : imported)
            if (i.Name.compare(s.Name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (const TCardStock& s : own)
        if (!replacedByImport(s))
            merged.push_back(s);
    for (const TCardStock& i : imported) {
        for (const TCardStock& c : catalogue) {
            if (c.User || c.Name.compare(i.Name, Qt::CaseInsensitive) != 0)
                continue;
            *error = "The stock \"" + i.Name + "\" has the name of a stock the program lists; rename it first";
            return own;
        }
        for (const QString& code : i.AllCodes()) {
            for (const TCardStock& c : catalogue)
                if (!c.User && c.HasCode(code)) {
                    *error = "The code " + code + " of \"" + i.Name + "\" is already " + c.Name + "'s";
                    return own;
                }
            for (const TCardStock& m : merged)
                if (m.HasCode(code)) {
                    *error = "The code " + code + " of \"" + i.Name + "\" is already " + m.Name + "'s";
                    return own;
                }
        }
        TCardStock s = i;
        s.User = true;
        merged.push_back(s);
    }
    return merged;
}

std::vector<TCardStock> AllCardStocks(QString* userError)
{
    std::vector<TCardStock> all = ShippedCardStocks();
    QString error;
    for (const TCardStock& s : LoadUserStocks(&error))
        all.push_back(s);
    if (userError)
        *userError = error;
    return all;
}

const TCardStock* FindStockByCode(const std::vector<TCardStock>& stocks, const QString& code)
{
    for (const TCardStock& s : stocks)
        if (s.HasCode(code))
            return &s;
    return nullptr;
}

} // namespace cardora
