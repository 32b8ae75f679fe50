#include "richtext/rtf_writer.h"
#include "core/symbol_fonts.h"
#include "richtext/code_pages.h"
#include "richtext/rtf_reader.h"
#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextOption>
#include <cmath>

namespace cardora {

namespace {

// Everything of a run the file keeps, resolved against the document's font.
struct RunFormat {
    int font = 0;
    int halfPoints = 24;
    bool bold = false, italic = false, strike = false;
    int underline = QTextCharFormat::NoUnderline;
    int foreground = 0, background = 0;
    int vertical = QTextCharFormat::AlignNormal;
    int caps = QFont::MixedCase;
    friend bool operator==(const RunFormat&, const RunFormat&) = default;
};

int twips(double documentPixels) { return static_cast<int>(std::lround(documentPixels * kTwipsPerDocumentPixel)); }

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc) : doc_(doc) {}

    QByteArray Run()
    {
        // Tables first: every font and colour the runs and paragraph marks use.
        fontIndex(doc_.defaultFont().family());
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
            resolve(b.charFormat());
            for (auto it = b.begin(); !it.atEnd(); ++it)
                resolve(it.fragment().charFormat());
        }

        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
        out_ += "\\deftab" + QByteArray::number(twips(doc_.defaultTextOption().tabStopDistance()));
        out_ += "{\\fonttbl";
        for (int i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + (IsSymbolFont(fonts_[i]) ? "2 " : "0 ");
            escapeText(fonts_[i], false, true);
            out_ += ";}";
        }
        out_ += "}\r\n";
        if (!colors_.isEmpty()) {
            out_ += "{\\colortbl ;";
            for (const QColor& c : colors_)
                out_ += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
                    + QByteArray::number(c.blue()) + ';';
            out_ += "}\r\n";
        }
        out_ += "\\uc1";
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next())
            writeBlock(b);
        out_ += "}\r\n";
        return out_;
    }

private:
    int fontIndex(const QString& family)
    {
        const int i = static_cast<int>(fonts_.indexOf(family));
        if (i >= 0)
            return i;
        fonts_ << family;
        return static_cast<int>(fonts_.size() - 1);
    }

    int colorIndex(const QColor& c)
    {
        const QColor opaque = QColor(c.red(), c.green(), c.blue());
        const int i = static_cast<int>(colors_.indexOf(opaque));
        if (i >= 0)
            return i + 1;
        colors_ << opaque;
        return static_cast<int>(colors_.size());
    }

    RunFormat resolve(const QTextCharFormat& f)
    {
        RunFormat r;
        const QFont font = f.font().resolve(doc_.defaultFont());
        r.font = fontIndex(font.family());
        double points = font.pointSizeF();
        if (points <= 0 && font.pixelSize() > 0)
            points = font.pixelSize() * 72.0 / 96.0;
        r.halfPoints = points > 0 ? std::max(2, static_cast<int>(std::lround(points * 2))) : 24;
        r.bold = font.weight() >= QFont::DemiBold;
        r.italic = font.italic();
        r.strike = font.strikeOut();
        r.underline = f.underlineStyle();
        if (r.underline == QTextCharFormat::NoUnderline && font.underline())
            r.underline = QTextCharFormat::SingleUnderline;
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            r.foreground = colorIndex(f.foreground().color());
        if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
            r.background = colorIndex(f.background().color());
        r.vertical = f.verticalAlignment();
        if (r.vertical != QTextCharFormat::AlignSuperScript && r.vertical != QTextCharFormat::AlignSubScript)
            r.vertical = QTextCharFormat::AlignNormal;
        r.caps = font.capitalization();
        return r;
    }

    void writeRunFormat(const RunFormat& r)
    {
        if (written_ && r == current_)
            return;
        written_ = true;
        current_ = r;
        out_ += "\\plain\\f" + QByteArray::number(r.font) + "\\fs" + QByteArray::number(r.halfPoints);
        if (r.bold)
            out_ += "\\b";
        if (r.italic)
            out_ += "\\i";
        switch (r.underline) {
        case QTextCharFormat::NoUnderline: break;
        case QTextCharFormat::DashUnderline: out_ += "\\uldash"; break;
        case QTextCharFormat::DotLine: out_ += "\\uld"; break;
        case QTextCharFormat::DashDotLine: out_ += "\\uldashd"; break;
        case QTextCharFormat::DashDotDotLine: out_ += "\\uldashdd"; break;
        case QTextCharFormat::WaveUnderline: out_ += "\\ulwave"; break;
        default: out_ += "\\ul"; break;
        }
        if (r.strike)
            out_ += "\\strike";
        if (r.foreground)
            out_ += "\\cf" + QByteArray::number(r.foreground);
        if (r.background)
            out_ += "\\highlight" + QByteArray::number(r.background);
        if (r.vertical == QTextCharFormat::AlignSuperScript)
            out_ += "\\super";
        else if (r.vertical == QTextCharFormat::AlignSubScript)
            out_ += "\\sub";
        if (r.caps == QFont::AllUppercase)
            out_ += "\\caps";
        else if (r.caps == QFont::SmallCaps)
            out_ += "\\scaps";
        out_ += ' ';
    }

    void writeBlock(const QTextBlock& block)
    {
        const QTextBlockFormat f = block.blockFormat();
        out_ += "\\pard";
        const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignHCenter)
            out_ += "\\qc";
        else if (h & Qt::AlignJustify)
            out_ += "\\qj";
        else if (h & Qt::AlignRight)
            out_ += "\\qr";
        else
            out_ += "\\ql";
        auto length = [this](const char* word, double pixels) {
            const int t = twips(pixels);
            if (t != 0)
                out_ += QByteArray(word) + QByteArray::number(t);
        };
        length("\\li", f.leftMargin());
        length("\\ri", f.rightMargin());
        length("\\fi", f.textIndent());
        length("\\sb", f.topMargin());
        length("\\sa", f.bottomMargin());
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            out_ += "\\sl" + QByteArray::number(std::lround(f.lineHeight() * 240.0 / 100.0)) + "\\slmult1";
            break;
        case QTextBlockFormat::MinimumHeight:
            out_ += "\\sl" + QByteArray::number(twips(f.lineHeight())) + "\\slmult0";
            break;
        case QTextBlockFormat::FixedHeight:
            out_ += "\\sl-" + QByteArray::number(twips(f.lineHeight())) + "\\slmult0";
            break;
        default:
            break;
        }
        for (const QTextOption::Tab& tab : f.tabPositions()) {
            if (tab.type == QTextOption::RightTab)
                out_ += "\\tqr";
            else if (tab.type == QTextOption::CenterTab)
                out_ += "\\tqc";
            else if (tab.type == QTextOption::DelimiterTab)
                out_ += "\\tqdec";
            out_ += "\\tx" + QByteArray::number(twips(tab.position));
        }
        out_ += ' ';
        written_ = false; // every paragraph states its runs' formats afresh
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            writeRunFormat(resolve(fragment.charFormat()));
            escapeText(fragment.text(), IsSymbolFont(fonts_[current_.font]), false);
        }
        // The paragraph mark carries the format an empty line is measured in.
        writeRunFormat(resolve(block.charFormat()));
        out_ += "\\par\r\n";
    }

    void escapeText(const QString& text, bool symbolFont, bool inTable)
    {
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (inTable) {
                // A font name: only bytes, ';' ends it.
                if (c < 0x20)
                    continue;
                const std::optional<unsigned char> byte = EncodeWindows1252(c);
                if (byte && (c >= 0x80 || c == u';' || c == u'\\' || c == u'{' || c == u'}'))
                    out_ += "\\'" + QByteArray::number(*byte, 16).rightJustified(2, '0');
                else
                    out_ += byte ? static_cast<char>(*byte) : '?';
                continue;
            }
            switch (c) {
            case u'\\': out_ += "\\\\"; continue;
            case u'{': out_ += "\\{"; continue;
            case u'}': out_ += "\\}"; continue;
            case u'\t': out_ += "\\tab "; continue;
            case QChar::LineSeparator: out_ += "\\line "; continue;
            case QChar::Nbsp: out_ += "\\~"; continue;
            case QChar::SoftHyphen: out_ += "\\-"; continue;
            case 0x2011: out_ += "\\_"; continue;
            case QChar::ObjectReplacementCharacter: continue;
            default: break;
            }
            if (c < 0x20)
                continue;
            if (c < 0x80) {
                out_ += static_cast<char>(c);
                continue;
            }
            // A symbol font's bytes stand for themselves, not for Windows-1252.
            std::optional<unsigned char> byte;
            if (!symbolFont)
                byte = EncodeWindows1252(c);
            else if (c <= 0xFF)
                byte = static_cast<unsigned char>(c);
            if (byte) {
                out_ += "\\'" + QByteArray::number(*byte, 16).rightJustified(2, '0');
                continue;
            }
            out_ += "\\u" + QByteArray::number(static_cast<int>(static_cast<std::int16_t>(c))) + '?';
        }
    }

    const QTextDocument& doc_;
    QByteArray out_;
    QStringList fonts_;
    QList<QColor> colors_;
    RunFormat current_;
    bool written_ = false;
};

} // namespace

QByteArray WriteRtf(const QTextDocument& document) { return RtfWriter(document).Run(); }

} // namespace cardora
