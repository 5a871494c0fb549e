#include "gdi/text/DrawTextLayout.h"

#include "gdi/text/DrawTextFlags.h"
#include "gdi/text/TabStops.h"
#include "gdi/text/Utf8.h"

#include <algorithm>

namespace gdi::text {
namespace {

// One paragraph (text between line breaks) with its "&" prefixes resolved.
struct Paragraph {
    std::u32string text;
    std::vector<size_t> prefixed; // indices into text of underlined characters
};

// A line as it will be shown; src maps each character back into its
// paragraph (npos for the dots of an ellipsis), so that an underlined
// character is found again after shortening.
struct Piece {
    std::u32string text;
    std::vector<size_t> src;
};

constexpr size_t npos = static_cast<size_t>(-1);

std::vector<std::u32string> SplitBreaks(const std::u32string& s, bool singleLine) {
    std::vector<std::u32string> out;
    std::u32string cur;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c != U'\r' && c != U'\n') {
            cur.push_back(c);
            continue;
        }
        if (singleLine) continue;
        // CR LF and LF CR are one break each, whichever comes first.
        if (i + 1 < s.size() && (s[i + 1] == U'\r' || s[i + 1] == U'\n') && s[i + 1] != c) ++i;
        out.push_back(std::move(cur));
        cur.clear();
    }
    if (!cur.empty() || out.empty()) out.push_back(std::move(cur));
    return out;
}

Paragraph ResolvePrefixes(const std::u32string& s, bool noPrefix) {
    Paragraph p;
    for (size_t i = 0; i < s.size(); ++i) {
        if (noPrefix || s[i] != U'&') {
            p.text.push_back(s[i]);
            continue;
        }
        if (i + 1 >= s.size()) break; // a lone "&" at the end shows nothing
        ++i;
        if (s[i] != U'&') p.prefixed.push_back(p.text.size());
        p.text.push_back(s[i]);
    }
    return p;
}

bool IsCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Closing punctuation stays with the character before it.
bool NoBreakBefore(char32_t c) {
    static constexpr std::u32string_view kClosers = U"、。，．：；！？）】》」』〕〉…,.;:!?)]}";
    return kClosers.find(c) != std::u32string_view::npos;
}

class LineMeasure {
public:
    LineMeasure(const TextMeasurer& m, bool expandTabs) : m_(m), expandTabs_(expandTabs) {}

    // Pen positions after each character, tabs expanded when asked to.
    void Positions(std::u32string_view text, std::vector<int>& out) const {
        out.assign(text.size(), 0);
        int pen = 0;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = expandTabs_ ? text.find(U'\t', start) : std::u32string_view::npos;
            if (end == std::u32string_view::npos) end = text.size();
            if (end > start) {
                m_.Advances(text.substr(start, end - start), seg_);
                for (size_t i = start; i < end; ++i) out[i] = pen + seg_[i - start];
                pen = out[end - 1];
            }
            if (end < text.size()) {
                pen = NextTabStop(pen, TabStops{}, m_.AveCharWidth());
                out[end] = pen;
            }
            start = end + 1;
        }
    }

    int Width(std::u32string_view text) const {
        if (text.empty()) return 0;
        Positions(text, pos_);
        return pos_.back();
    }

private:
    const TextMeasurer& m_;
    bool expandTabs_;
    mutable std::vector<int> seg_, pos_;
};

bool CanBreakBefore(const std::u32string& t, size_t k, size_t firstWord) {
    if (k <= firstWord || k >= t.size()) return false;
    if (t[k] == U' ') return true;
    if (NoBreakBefore(t[k])) return false;
    return IsCjk(t[k]) || (IsCjk(t[k - 1]) && t[k - 1] != U' ');
}

// Greedy word wrap; returns [begin, end) ranges of the paragraph.
std::vector<std::pair<size_t, size_t>> Wrap(const std::u32string& text, int width, const LineMeasure& lm) {
    std::vector<std::pair<size_t, size_t>> lines;
    std::vector<int> pos;
    size_t s = 0;
    const size_t n = text.size();
    if (n == 0) lines.emplace_back(0, 0);
    while (s < n) {
        std::u32string rest = text.substr(s);
        lm.Positions(rest, pos);
        size_t fit = 0;
        while (fit < rest.size() && pos[fit] <= width) ++fit;
        if (fit == rest.size()) {
            lines.emplace_back(s, n);
            break;
        }
        size_t firstWord = rest.find_first_not_of(U' ');
        size_t b = npos;
        for (size_t k = fit; k > 0 && b == npos; --k)
            if (CanBreakBefore(rest, k, firstWord)) b = k;
        // A word wider than the whole line is not split: it runs on to its end.
        for (size_t k = std::max<size_t>(fit, 1); b == npos && k < rest.size(); ++k)
            if (CanBreakBefore(rest, k, firstWord)) b = k;
        if (b == npos) b = rest.size();
        size_t end = s + b, lineEnd = end;
        while (lineEnd > s && text[lineEnd - 1] == U' ') --lineEnd;
        lines.emplace_back(s, lineEnd);
        s = end;
        while (s < n && text[s] == U' ') ++s;
    }
    return lines;
}

Piece MakePiece(const std::u32string& text, size_t begin, size_t end) {
    Piece p;
    p.text = text.substr(begin, end - begin);
    for (size_t i = begin; i < end; ++i) p.src.push_back(i);
    return p;
}

// Keeps the longest head of `p` that fits in front of "..." and `tail`.
Piece CutHead(const Piece& p, size_t headLen, int room, const Piece& tail, const LineMeasure& lm) {
    static const std::u32string kDots = U"...";
    std::vector<int> pos;
    lm.Positions(p.text.substr(0, headLen), pos);
    int need = lm.Width(kDots) + lm.Width(tail.text);
    size_t k = headLen;
    while (k > 0 && pos[k - 1] + need > room) --k;
    Piece out;
    out.text = p.text.substr(0, k) + kDots + tail.text;
    out.src.assign(p.src.begin(), p.src.begin() + k);
    out.src.insert(out.src.end(), kDots.size(), npos);
    out.src.insert(out.src.end(), tail.src.begin(), tail.src.end());
    return out;
}

Piece EndEllipsis(const Piece& p, int room, const LineMeasure& lm) {
    return CutHead(p, p.text.size(), room, Piece{}, lm);
}

Piece PathEllipsis(const Piece& p, int room, const LineMeasure& lm) {
    size_t sep = p.text.find_last_of(U"\\/");
    if (sep == std::u32string::npos || sep == 0) return EndEllipsis(p, room, lm);
    Piece tail;
    tail.text = p.text.substr(sep);
    tail.src.assign(p.src.begin() + static_cast<std::ptrdiff_t>(sep), p.src.end());
    Piece out = CutHead(p, sep, room, tail, lm);
    // Not even the file name fits: shorten that at its end as well.
    if (lm.Width(out.text) > room) out = EndEllipsis(out, room, lm);
    return out;
}

DrawTextLine PlaceLine(const Piece& piece, const Paragraph& para, int x, int y, bool expandTabs,
                       const LineMeasure& lm) {
    DrawTextLine line;
    line.x = x;
    line.y = y;
    line.text = EncodeUtf8(piece.text);
    std::vector<int> pos;
    lm.Positions(piece.text, pos);
    line.width = pos.empty() ? 0 : pos.back();
    size_t start = 0;
    while (start <= piece.text.size()) {
        size_t end = expandTabs ? piece.text.find(U'\t', start) : std::u32string::npos;
        if (end == std::u32string::npos) end = piece.text.size();
        if (end > start) {
            int off = start == 0 ? 0 : pos[start - 1];
            line.runs.push_back(
                {x + off, EncodeUtf8(std::u32string_view(piece.text).substr(start, end - start))});
        }
        start = end + 1;
    }
    for (size_t i = 0; i < piece.src.size() && !line.underlined; ++i) {
        if (piece.src[i] == npos) continue;
        if (std::find(para.prefixed.begin(), para.prefixed.end(), piece.src[i]) == para.prefixed.end())
            continue;
        line.underlined = true;
        line.underlineLeft = x + (i == 0 ? 0 : pos[i - 1]);
        line.underlineRight = x + pos[i];
    }
    return line;
}

} // namespace

DrawTextLayoutResult LayoutDrawText(const TextMeasurer& measurer, std::string_view utf8, const TextRect& rect,
                                    uint32_t flags) {
    const bool singleLine = flags & DT_SINGLELINE;
    const bool expandTabs = flags & DT_EXPANDTABS;
    const bool wordBreak = (flags & DT_WORDBREAK) && !singleLine;
    const int lineHeight = measurer.LineHeight();
    const int room = rect.Width();
    LineMeasure lm(measurer, expandTabs);

    std::vector<Piece> pieces;
    std::vector<const Paragraph*> owners;
    std::vector<Paragraph> paragraphs;
    for (const std::u32string& raw : SplitBreaks(DecodeUtf8(utf8), singleLine))
        paragraphs.push_back(ResolvePrefixes(raw, flags & DT_NOPREFIX));
    for (const Paragraph& para : paragraphs) {
        std::vector<std::pair<size_t, size_t>> ranges;
        if (wordBreak)
            ranges = Wrap(para.text, room, lm);
        else
            ranges.emplace_back(0, para.text.size());
        for (auto [b, e] : ranges) {
            Piece piece = MakePiece(para.text, b, e);
            if ((flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) && lm.Width(piece.text) > room)
                piece =
                    (flags & DT_PATH_ELLIPSIS) ? PathEllipsis(piece, room, lm) : EndEllipsis(piece, room, lm);
            pieces.push_back(std::move(piece));
            owners.push_back(&para);
        }
    }

    DrawTextLayoutResult result;
    result.rect = rect;
    const int total = static_cast<int>(pieces.size()) * lineHeight;
    int top = rect.top;
    if (singleLine && (flags & DT_VCENTER))
        top = rect.top + (rect.Height() - lineHeight) / 2;
    else if (singleLine && (flags & DT_BOTTOM))
        top = rect.bottom - lineHeight;
    int widest = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        int w = lm.Width(pieces[i].text);
        widest = std::max(widest, w);
        int x = rect.left;
        if (flags & DT_CENTER)
            x = rect.left + (room - w) / 2;
        else if (flags & DT_RIGHT)
            x = rect.right - w;
        int y = top + static_cast<int>(i) * lineHeight;
        result.lines.push_back(PlaceLine(pieces[i], *owners[i], x, y, expandTabs, lm));
    }
    if (flags & DT_CALCRECT) {
        result.rect.right = rect.left + widest;
        result.rect.bottom = rect.top + total;
        result.height = total;
    } else {
        // With vertical placement the result reaches from the top of the
        // rectangle to the bottom of the text.
        result.height =
            singleLine && (flags & (DT_VCENTER | DT_BOTTOM)) ? top - rect.top + lineHeight : total;
    }
    return result;
}

} // namespace gdi::text
