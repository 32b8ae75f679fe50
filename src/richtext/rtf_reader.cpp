#include "richtext/rtf_reader.h"
#include "richtext/code_pages.h"
#include <QColor>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace cardora {

namespace {

// Deeper groups than this are read as skipped text: real files nest a few
// dozen levels at most.
constexpr int kMaxGroupDepth = 200;
// Numbers of control words are at most ten digits; longer ones are cut there.
constexpr int kMaxParameterDigits = 10;
// Lengths beyond 22 inches and font sizes beyond 1638 points are damage.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTabStops = 64;

enum class Dest { Text, Skip, FontTable, ColorTable };

struct CharState {
    int font = -1;
    int halfPoints = 24;
    bool bold = false, italic = false, strike = false, hidden = false;
    int underline = QTextCharFormat::NoUnderline;
    int foreground = 0, background = 0; // colour table indexes, 0 = automatic
    int vertical = QTextCharFormat::AlignNormal;
    int caps = QFont::MixedCase;
    friend bool operator==(const CharState&, const CharState&) = default;
};

struct ParaState {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<QTextOption::Tab> tabs;
};

struct Group {
    Dest dest = Dest::Text;
    CharState chr;
    ParaState para;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString name;
    int charset = -1;
};

enum class Word {
    // destinations and tables
    Rtf, Fonttbl, Colortbl, SkipDest, FieldResult, Ansicpg, Deff, Deftab, FontIndex, Fcharset, Red, Green, Blue,
    // character formatting
    Plain, Bold, Italic, Underline, UnderlineDotted, UnderlineDashed, UnderlineDashDot, UnderlineDashDotDot,
    UnderlineWave, UnderlineNone, Strike, FontSize, Foreground, Background, Super, Sub, Up, Down, NoSuperSub, Hidden, Caps,
    SmallCaps,
    // paragraph formatting
    Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, RightIndent, FirstIndent, SpaceBefore,
    SpaceAfter, LineSpacing, LineMultiple, TabStop, TabRight, TabCenter, TabDecimal,
    // breaks and special characters
    Par, Line, Tab, Cell, Row, Unicode, UnicodeSkip, Bin, Char
};

struct WordInfo {
    Word word;
    char16_t ch = 0; // for Word::Char
};

const QHash<QByteArray, WordInfo>& wordTable()
{
    static const QHash<QByteArray, WordInfo> table = [] {
        QHash<QByteArray, WordInfo> t;
        auto add = [&t](const char* name, Word w, char16_t ch = 0) { t.insert(QByteArray(name), WordInfo { w, ch }); };
        add("rtf", Word::Rtf);
        add("fonttbl", Word::Fonttbl);
        add("colortbl", Word::Colortbl);
        for (const char* d : { "info", "stylesheet", "fldinst", "pict", "object", "header", "headerl", "headerr",
                 "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "listtable",
                 "listoverridetable", "revtbl", "rsidtbl", "generator", "filetbl", "themedata",
                 "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "mmathPr", "pn", "nonshppict",
                 "xe", "tc", "txe", "bkmkstart", "bkmkend", "userprops", "docvar", "private", "objdata",
                 "shpinst", "shprslt", "atnid", "atnauthor", "pgdsctbl", "sp", "sv", "sn", "template",
                 "expandedcolortbl", "author", "operator", "title", "subject", "comment" })
            add(d, Word::SkipDest);
        add("fldrslt", Word::FieldResult);
        add("ansicpg", Word::Ansicpg);
        add("deff", Word::Deff);
        add("deftab", Word::Deftab);
        add("f", Word::FontIndex);
        add("fcharset", Word::Fcharset);
        add("red", Word::Red);
        add("green", Word::Green);
        add("blue", Word::Blue);
        add("plain", Word::Plain);
        add("b", Word::Bold);
        add("i", Word::Italic);
        for (const char* u : { "ul", "uldb", "ulth", "ulw" })
            add(u, Word::Underline);
        for (const char* u : { "uld", "ulthd", "ulldash" })
            add(u, Word::UnderlineDotted);
        for (const char* u : { "uldash", "ulthdash" })
            add(u, Word::UnderlineDashed);
        for (const char* u : { "uldashd", "ulthdashd" })
            add(u, Word::UnderlineDashDot);
        for (const char* u : { "uldashdd", "ulthdashdd" })
            add(u, Word::UnderlineDashDotDot);
        for (const char* u : { "ulwave", "ulhwave", "ululdbwave" })
            add(u, Word::UnderlineWave);
        add("ulnone", Word::UnderlineNone);
        add("strike", Word::Strike);
        add("striked", Word::Strike);
        add("fs", Word::FontSize);
        add("cf", Word::Foreground);
        add("cb", Word::Background);
        add("highlight", Word::Background);
        add("chcbpat", Word::Background);
        add("super", Word::Super);
        add("sub", Word::Sub);
        add("up", Word::Up);
        add("dn", Word::Down);
        add("nosupersub", Word::NoSuperSub);
        add("v", Word::Hidden);
        add("caps", Word::Caps);
        add("scaps", Word::SmallCaps);
        add("pard", Word::Pard);
        add("ql", Word::AlignLeft);
        add("qc", Word::AlignCenter);
        add("qr", Word::AlignRight);
        add("qj", Word::AlignJustify);
        add("li", Word::LeftIndent);
        add("lin", Word::LeftIndent);
        add("ri", Word::RightIndent);
        add("rin", Word::RightIndent);
        add("fi", Word::FirstIndent);
        add("sb", Word::SpaceBefore);
        add("sa", Word::SpaceAfter);
        add("sl", Word::LineSpacing);
        add("slmult", Word::LineMultiple);
        add("tx", Word::TabStop);
        add("tqr", Word::TabRight);
        add("tqc", Word::TabCenter);
        add("tqdec", Word::TabDecimal);
        add("par", Word::Par);
        add("sect", Word::Par);
        add("page", Word::Par);
        add("line", Word::Line);
        add("tab", Word::Tab);
        add("cell", Word::Cell);
        add("nestcell", Word::Cell);
        add("row", Word::Row);
        add("nestrow", Word::Row);
        add("u", Word::Unicode);
        add("uc", Word::UnicodeSkip);
        add("bin", Word::Bin);
        add("emdash", Word::Char, 0x2014);
        add("endash", Word::Char, 0x2013);
        add("bullet", Word::Char, 0x2022);
        add("lquote", Word::Char, 0x2018);
        add("rquote", Word::Char, 0x2019);
        add("ldblquote", Word::Char, 0x201C);
        add("rdblquote", Word::Char, 0x201D);
        add("emspace", Word::Char, 0x2003);
        add("enspace", Word::Char, 0x2002);
        add("qmspace", Word::Char, 0x2005);
        add("zwj", Word::Char, 0x200D);
        add("zwnj", Word::Char, 0x200C);
        add("ltrmark", Word::Char, 0x200E);
        add("rtlmark", Word::Char, 0x200F);
        return t;
    }();
    return table;
}

int clampTwips(long long v, int low = -kMaxTwips) { return static_cast<int>(std::clamp<long long>(v, low, kMaxTwips)); }

// Characters the document model reserves for its own structure (block and
// frame marks, objects) or that no writer keeps are dropped from text read.
bool reservedChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == QChar::ParagraphSeparator || u == QChar::ObjectReplacementCharacter
        || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFE || u == 0xFFFF;
}

class RtfParser {
public:
    RtfParser(const QByteArray& data, QTextDocument& doc) : data_(data), doc_(doc), cursor_(&doc) {}

    void Run()
    {
        doc_.clear();
        doc_.setDocumentMargin(0);
        QTextOption option = doc_.defaultTextOption();
        option.setTabStopDistance(kDefaultTabTwips / kTwipsPerDocumentPixel);
        doc_.setDefaultTextOption(option);
        cursor_ = QTextCursor(&doc_);
        // One edit for the whole text: the layout hears of it once, not
        // once for every run of a differently formatted word.
        cursor_.beginEditBlock();
        groups_.push_back(Group {});
        while (pos_ < data_.size()) {
            const char c = data_[pos_++];
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlWord(); break;
            case '\r':
            case '\n':
            case '\0':
                break;
            case '\t':
                flushBytes();
                textChar(u'\t');
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20)
                    textByte(c);
                break;
            }
        }
        flushBytes();
        flushRun();
        // A last paragraph without its mark keeps the formatting its text had.
        if (!paragraphPending_) {
            if (hadText_) {
                cursor_.setBlockFormat(blockFormat(lastTextPara_));
                cursor_.setBlockCharFormat(charFormat(lastTextChar_));
            } else {
                applyParagraph();
            }
        }
        cursor_.endEditBlock();
    }

private:
    Group& top() { return groups_.back(); }
    bool skipping() const { return skippedDepth_ > 0 || groups_.back().dest == Dest::Skip; }

    void openGroup()
    {
        flushBytes();
        pendingSkip_ = 0;
        if (skippedDepth_ > 0 || groups_.size() >= static_cast<size_t>(kMaxGroupDepth)) {
            ++skippedDepth_;
            return;
        }
        groups_.push_back(groups_.back());
        ignorableNext_ = false;
        firstInGroup_ = true;
    }

    void closeGroup()
    {
        flushBytes();
        pendingSkip_ = 0;
        if (skippedDepth_ > 0) {
            --skippedDepth_;
            return;
        }
        if (top().dest == Dest::FontTable)
            commitFont();
        if (groups_.size() > 1)
            groups_.pop_back();
        firstInGroup_ = false;
    }

    // Reads "\word[-]digits[ ]" or a control symbol after the backslash.
    void controlWord()
    {
        if (pos_ >= data_.size())
            return;
        const char c = data_[pos_];
        if (!isLetter(c)) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < data_.size() && isLetter(data_[pos_]) && pos_ - start < 32)
            ++pos_;
        const QByteArray name = data_.mid(start, pos_ - start);
        while (pos_ < data_.size() && isLetter(data_[pos_]))
            ++pos_; // an over-long word: the rest is part of it
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (pos_ < data_.size() && data_[pos_] == '-' && pos_ + 1 < data_.size() && isDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        int digits = 0;
        while (pos_ < data_.size() && isDigit(data_[pos_])) {
            if (digits < kMaxParameterDigits)
                param = param * 10 + (data_[pos_] - '0');
            ++digits;
            ++pos_;
        }
        hasParam = digits > 0;
        param = std::clamp<long long>(negative ? -param : param, INT32_MIN, INT32_MAX);
        if (pos_ < data_.size() && data_[pos_] == ' ')
            ++pos_;
        const bool first = firstInGroup_;
        firstInGroup_ = false;
        const bool ignorable = ignorableNext_;
        ignorableNext_ = false;
        handleWord(name, hasParam, static_cast<int>(param), first, ignorable);
    }

    void controlSymbol(char c)
    {
        const bool ignorable = ignorableNext_;
        ignorableNext_ = false;
        firstInGroup_ = false;
        switch (c) {
        case '*':
            ignorableNext_ = true;
            firstInGroup_ = true;
            return;
        case '\'': {
            int value = 0, digits = 0;
            while (digits < 2 && pos_ < data_.size() && hexValue(data_[pos_]) >= 0) {
                value = value * 16 + hexValue(data_[pos_++]);
                ++digits;
            }
            // A broken escape stands for nothing.
            if (digits == 2)
                textByte(static_cast<char>(value));
            return;
        }
        case '\r':
        case '\n':
            handleWord("par", false, 0, false, ignorable);
            return;
        case '~': special(0x00A0); return;
        case '-': special(0x00AD); return;
        case '_': special(0x2011); return;
        case '\\':
        case '{':
        case '}':
            textByte(c);
            return;
        default:
            return; // \| \: and the like
        }
    }

    void special(char16_t ch)
    {
        flushBytes();
        if (consumeSkip())
            return;
        textChar(ch);
    }

    // The characters that stand in for a \u character are dropped here.
    bool consumeSkip()
    {
        if (pendingSkip_ <= 0)
            return false;
        --pendingSkip_;
        return true;
    }

    void handleWord(const QByteArray& name, bool hasParam, int param, bool firstInGroup, bool ignorable)
    {
        const auto it = wordTable().constFind(name);
        if (it == wordTable().cend()) {
            flushBytes();
            // An unknown destination marked ignorable takes its group with it.
            if (ignorable && firstInGroup)
                top().dest = Dest::Skip;
            consumeSkip();
            return;
        }
        const Word w = it->word;
        if (w != Word::Unicode)
            flushBytes();
        if (w != Word::Unicode && consumeSkip())
            return;
        Group& g = top();
        CharState& ch = g.chr;
        ParaState& pa = g.para;
        const bool on = !hasParam || param != 0;
        switch (w) {
        case Word::Rtf:
        case Word::Char:
            if (w == Word::Char)
                textChar(it->ch);
            return;
        case Word::Fonttbl:
            g.dest = skipping() ? Dest::Skip : Dest::FontTable;
            fontName_.clear();
            return;
        case Word::Colortbl:
            g.dest = skipping() ? Dest::Skip : Dest::ColorTable;
            colorSeen_ = false;
            red_ = green_ = blue_ = 0;
            return;
        case Word::SkipDest:
            if (firstInGroup || ignorable)
                g.dest = Dest::Skip;
            return;
        case Word::FieldResult:
            return;
        case Word::Ansicpg:
            if (hasParam)
                codePage_ = param;
            return;
        case Word::Deff:
            if (hasParam)
                defaultFont_ = param;
            return;
        case Word::Deftab:
            if (hasParam && param > 0) {
                QTextOption option = doc_.defaultTextOption();
                option.setTabStopDistance(clampTwips(param, 1) / kTwipsPerDocumentPixel);
                doc_.setDefaultTextOption(option);
            }
            return;
        case Word::FontIndex:
            if (g.dest == Dest::FontTable) {
                commitFont();
                currentFontIndex_ = param;
                fontName_.clear();
                fontCharset_ = -1;
            } else {
                ch.font = param;
            }
            return;
        case Word::Fcharset:
            if (g.dest == Dest::FontTable)
                fontCharset_ = param;
            return;
        case Word::Red: red_ = std::clamp(param, 0, 255); colorSeen_ = true; return;
        case Word::Green: green_ = std::clamp(param, 0, 255); colorSeen_ = true; return;
        case Word::Blue: blue_ = std::clamp(param, 0, 255); colorSeen_ = true; return;
        case Word::Plain:
            ch = CharState {};
            ch.font = defaultFont_;
            return;
        case Word::Bold: ch.bold = on; return;
        case Word::Italic: ch.italic = on; return;
        case Word::Underline: ch.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline; return;
        case Word::UnderlineDotted: ch.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline; return;
        case Word::UnderlineDashed: ch.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline; return;
        case Word::UnderlineDashDot: ch.underline = on ? QTextCharFormat::DashDotLine : QTextCharFormat::NoUnderline; return;
        case Word::UnderlineDashDotDot:
            ch.underline = on ? QTextCharFormat::DashDotDotLine : QTextCharFormat::NoUnderline;
            return;
        case Word::UnderlineWave: ch.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline; return;
        case Word::UnderlineNone: ch.underline = QTextCharFormat::NoUnderline; return;
        case Word::Strike: ch.strike = on; return;
        case Word::FontSize:
            if (hasParam && param > 0)
                ch.halfPoints = std::clamp(param, 2, kMaxHalfPoints);
            return;
        case Word::Foreground: ch.foreground = std::max(0, param); return;
        case Word::Background: ch.background = std::max(0, param); return;
        case Word::Super: ch.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal; return;
        case Word::Sub: ch.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal; return;
        // Raised or lowered text (\up and \dn, half-points) shows as super- and subscript.
        case Word::Up: ch.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal; return;
        case Word::Down: ch.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal; return;
        case Word::NoSuperSub: ch.vertical = QTextCharFormat::AlignNormal; return;
        case Word::Hidden: ch.hidden = on; return;
        case Word::Caps: ch.caps = on ? QFont::AllUppercase : QFont::MixedCase; return;
        case Word::SmallCaps: ch.caps = on ? QFont::SmallCaps : QFont::MixedCase; return;
        case Word::Pard: pa = ParaState {}; return;
        case Word::AlignLeft: pa.align = 0; return;
        case Word::AlignCenter: pa.align = 1; return;
        case Word::AlignRight: pa.align = 2; return;
        case Word::AlignJustify: pa.align = 3; return;
        case Word::LeftIndent: pa.left = clampTwips(param, 0); return;
        case Word::RightIndent: pa.right = clampTwips(param, 0); return;
        case Word::FirstIndent: pa.first = clampTwips(param); return;
        case Word::SpaceBefore: pa.before = clampTwips(param, 0); return;
        case Word::SpaceAfter: pa.after = clampTwips(param, 0); return;
        case Word::LineSpacing: pa.lineSpacing = clampTwips(param); return;
        case Word::LineMultiple: pa.lineMultiple = on; return;
        case Word::TabRight: tabType_ = QTextOption::RightTab; return;
        case Word::TabCenter: tabType_ = QTextOption::CenterTab; return;
        case Word::TabDecimal: tabType_ = QTextOption::DelimiterTab; return;
        case Word::TabStop:
            if (pa.tabs.size() < kMaxTabStops && param > 0) {
                QTextOption::Tab tab(clampTwips(param, 0) / kTwipsPerDocumentPixel, tabType_);
                if (tabType_ == QTextOption::DelimiterTab)
                    tab.delimiter = QLatin1Char('.');
                pa.tabs << tab;
            }
            tabType_ = QTextOption::LeftTab;
            return;
        case Word::Par:
        case Word::Row:
            if (!skipping() && g.dest == Dest::Text)
                paragraph();
            return;
        case Word::Line: textChar(QChar::LineSeparator); return;
        case Word::Tab:
        case Word::Cell:
            textChar(u'\t');
            return;
        case Word::UnicodeSkip: g.unicodeSkip = std::clamp(param, 0, 16); return;
        case Word::Unicode: {
            if (!hasParam)
                return;
            flushBytes();
            pendingSkip_ = 0;
            textChar(static_cast<char16_t>(param < 0 ? param + 65536 : param));
            pendingSkip_ = g.unicodeSkip;
            return;
        }
        case Word::Bin:
            // Binary data belongs to the picture or object around it.
            if (hasParam && param > 0)
                pos_ = std::min<qsizetype>(data_.size(), pos_ + param);
            return;
        }
    }

    // ---- text

    void textByte(char c)
    {
        if (consumeSkip())
            return;
        const Group& g = top();
        if (skippedDepth_ > 0 || g.dest == Dest::Skip)
            return;
        if (g.dest == Dest::FontTable) {
            if (c == ';')
                commitFont();
            else
                fontName_.append(c);
            return;
        }
        if (g.dest == Dest::ColorTable) {
            if (c == ';') {
                colors_.push_back(colorSeen_ ? QColor(red_, green_, blue_) : QColor());
                colorSeen_ = false;
                red_ = green_ = blue_ = 0;
            }
            return;
        }
        if (g.chr.hidden)
            return;
        bytes_.append(c);
        bytesCodePage_ = codePageFor(g.chr);
    }

    void textChar(char16_t ch)
    {
        const Group& g = top();
        if (skippedDepth_ > 0 || g.dest != Dest::Text || g.chr.hidden)
            return;
        appendText(QString(QChar(ch)));
    }

    void flushBytes()
    {
        if (bytes_.isEmpty())
            return;
        const QByteArray bytes = bytes_;
        bytes_.clear();
        appendText(DecodeCodePage(bytes, bytesCodePage_));
    }

    int codePageFor(const CharState& ch) const
    {
        const auto it = fonts_.constFind(ch.font < 0 ? defaultFont_ : ch.font);
        if (it != fonts_.cend() && it->charset >= 0) {
            const int cp = CodePageOfCharset(it->charset);
            if (cp)
                return cp;
        }
        return codePage_;
    }

    void appendText(QString text)
    {
        text.removeIf(reservedChar);
        if (text.isEmpty())
            return;
        const CharState& ch = top().chr;
        if (!runText_.isEmpty() && !(runState_ == ch))
            flushRun();
        if (runText_.isEmpty())
            runState_ = ch;
        hadText_ = true;
        runText_ += text;
        lastTextPara_ = top().para;
        lastTextChar_ = ch;
        if (paragraphPending_) {
            // The text opens the next paragraph.
            cursor_.insertBlock();
            paragraphPending_ = false;
        }
    }

    void flushRun()
    {
        if (runText_.isEmpty())
            return;
        cursor_.insertText(runText_, charFormat(runState_));
        runText_.clear();
    }

    void paragraph()
    {
        flushBytes();
        flushRun();
        if (paragraphPending_)
            cursor_.insertBlock();
        applyParagraph();
        paragraphPending_ = true;
        hadText_ = false;
    }

    void applyParagraph()
    {
        cursor_.setBlockFormat(blockFormat(top().para));
        cursor_.setBlockCharFormat(charFormat(top().chr));
    }

    QTextCharFormat charFormat(const CharState& ch) const
    {
        QTextCharFormat f;
        const auto font = fonts_.constFind(ch.font < 0 ? defaultFont_ : ch.font);
        if (font != fonts_.cend() && !font->name.isEmpty())
            f.setFontFamilies({ font->name });
        f.setFontPointSize(ch.halfPoints / 2.0);
        f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(ch.italic);
        f.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(ch.underline));
        f.setFontStrikeOut(ch.strike);
        if (const QColor c = colorAt(ch.foreground); c.isValid())
            f.setForeground(c);
        if (const QColor c = colorAt(ch.background); c.isValid())
            f.setBackground(c);
        if (ch.vertical != QTextCharFormat::AlignNormal)
            f.setVerticalAlignment(static_cast<QTextCharFormat::VerticalAlignment>(ch.vertical));
        if (ch.caps != QFont::MixedCase)
            f.setFontCapitalization(static_cast<QFont::Capitalization>(ch.caps));
        return f;
    }

    QColor colorAt(int index) const
    {
        if (index <= 0 || index >= static_cast<int>(colors_.size()))
            return QColor();
        return colors_[static_cast<size_t>(index)];
    }

    static QTextBlockFormat blockFormat(const ParaState& p)
    {
        QTextBlockFormat f;
        static constexpr Qt::Alignment aligns[] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify };
        f.setAlignment(aligns[p.align]);
        f.setLeftMargin(p.left / kTwipsPerDocumentPixel);
        f.setRightMargin(p.right / kTwipsPerDocumentPixel);
        f.setTextIndent(p.first / kTwipsPerDocumentPixel);
        f.setTopMargin(p.before / kTwipsPerDocumentPixel);
        f.setBottomMargin(p.after / kTwipsPerDocumentPixel);
        if (p.lineMultiple && p.lineSpacing > 0)
            f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (!p.lineMultiple && p.lineSpacing > 0)
            f.setLineHeight(p.lineSpacing / kTwipsPerDocumentPixel, QTextBlockFormat::MinimumHeight);
        else if (!p.lineMultiple && p.lineSpacing < 0)
            f.setLineHeight(-p.lineSpacing / kTwipsPerDocumentPixel, QTextBlockFormat::FixedHeight);
        if (!p.tabs.isEmpty())
            f.setTabPositions(p.tabs);
        return f;
    }

    void commitFont()
    {
        if (currentFontIndex_ == INT32_MIN)
            return;
        QString name = DecodeCodePage(fontName_, 1252).trimmed();
        fontName_.clear();
        if (!fonts_.contains(currentFontIndex_) || !name.isEmpty())
            fonts_.insert(currentFontIndex_, FontEntry { name, fontCharset_ });
        currentFontIndex_ = INT32_MIN;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    const QByteArray& data_;
    QTextDocument& doc_;
    QTextCursor cursor_;
    qsizetype pos_ = 0;
    std::vector<Group> groups_;
    int skippedDepth_ = 0;
    bool ignorableNext_ = false;
    bool firstInGroup_ = false;
    int pendingSkip_ = 0;

    int codePage_ = 1252;
    int defaultFont_ = -1;
    QHash<int, FontEntry> fonts_;
    int currentFontIndex_ = INT32_MIN;
    QByteArray fontName_;
    int fontCharset_ = -1;
    std::vector<QColor> colors_;
    bool colorSeen_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    QTextOption::TabType tabType_ = QTextOption::LeftTab;

    QByteArray bytes_;
    int bytesCodePage_ = 1252;
    QString runText_;
    CharState runState_;
    bool paragraphPending_ = false;
    bool hadText_ = false; // in the paragraph being read
    ParaState lastTextPara_;
    CharState lastTextChar_;
};

} // namespace

bool LooksLikeRtf(const QByteArray& data)
{
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\r' || data[i] == '\n' || data[i] == '\t'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

void ReadRtf(const QByteArray& data, QTextDocument& document)
{
    if (!LooksLikeRtf(data)) {
        // Plain text: lines become paragraphs; the zero bytes of a stored
        // block end it.
        document.clear();
        document.setDocumentMargin(0);
        QByteArray text = data.left(data.indexOf('\0') < 0 ? data.size() : data.indexOf('\0'));
        text.replace("\r\n", "\n").replace('\r', '\n');
        QTextCursor cursor(&document);
        const QList<QByteArray> lines = text.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            QString line = DecodeCodePage(lines[i], 1252);
            line.removeIf(reservedChar);
            cursor.insertText(line);
        }
        return;
    }
    RtfParser(data, document).Run();
}

} // namespace cardora
