#include "gui/Strings.h"

#include "gui/FileStream.h"

namespace gui {

int CompareTextAscii(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
    return CompareTextAscii(a, b);
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Put(int index, const std::string& s) {
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    std::string s = Get(index1);
    TObject* object = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, object);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    std::string s = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    for (int i = 0, n = strings.Count(); i < n; ++i) AddObject(strings.Get(i), strings.GetObject(i));
    EndUpdate();
}

void TStrings::Assign(const TPersistent* source) {
    auto* src = dynamic_cast<const TStrings*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    Clear();
    Delimiter = src->Delimiter;
    QuoteChar = src->QuoteChar;
    LineBreak = src->LineBreak;
    AddStrings(*src);
    EndUpdate();
}

bool TStrings::Equals(const TStrings& strings) const {
    if (Count() != strings.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != strings.Get(i)) return false;
    return true;
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0, n = Count(); i < n; ++i) {
        std::string s = Get(i);
        auto eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(s.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0, n = Count(); i < n; ++i) {
        r += Get(i);
        r += LineBreak;
    }
    return r;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t i = 0, n = text.size();
    while (i < n) {
        size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        Add(text.substr(start, i - start));
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
    }
    EndUpdate();
}

std::string TStrings::DelimitedWith(char delimiter, char quote) const {
    int n = Count();
    if (n == 1 && Get(0).empty()) return std::string(2, quote);
    std::string r;
    for (int i = 0; i < n; ++i) {
        std::string s = Get(i);
        bool plain = true;
        for (char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == quote || c == delimiter) plain = false;
        if (!plain) {
            std::string q(1, quote);
            for (char c : s) {
                q += c;
                if (c == quote) q += c;
            }
            s = q + quote;
        }
        if (i > 0) r += delimiter;
        r += s;
    }
    return r;
}

void TStrings::SetDelimitedWith(const std::string& input, char delimiter, char quote) {
    // The text ends at a NUL character, as a C string does: what follows is not part of the list.
    const std::string text = input.substr(0, input.find('\0'));
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    BeginUpdate();
    Clear();
    size_t p = 0, n = text.size();
    while (p < n && blank(text[p])) ++p;
    while (p < n) {
        std::string s;
        if (text[p] == quote) {
            ++p;
            while (p < n) {
                if (text[p] != quote) {
                    s += text[p++];
                } else if (p + 1 < n && text[p + 1] == quote) {
                    s += quote;
                    p += 2;
                } else {
                    ++p;
                    break;
                }
            }
        } else {
            size_t b = p;
            while (p < n && !blank(text[p]) && text[p] != delimiter) ++p;
            s = text.substr(b, p - b);
        }
        Add(s);
        while (p < n && blank(text[p])) ++p;
        if (p < n && text[p] == delimiter) {
            if (p + 1 == n) Add("");
            do ++p;
            while (p < n && blank(text[p]));
        }
    }
    EndUpdate();
}

std::string TStrings::DelimitedText() const {
    return DelimitedWith(Delimiter, QuoteChar);
}

void TStrings::SetDelimitedText(const std::string& text) {
    SetDelimitedWith(text, Delimiter, QuoteChar);
}

std::string TStrings::CommaText() const {
    return DelimitedWith(',', '"');
}

void TStrings::SetCommaText(const std::string& text) {
    SetDelimitedWith(text, ',', '"');
}

std::string TStrings::Names(int index) const {
    std::string s = Get(index);
    auto eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (!value.empty()) {
        if (i < 0)
            Add(name + "=" + value);
        else
            Put(i, name + "=" + value);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string s = Get(index);
    auto eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

void TStrings::BeginUpdate() {
    // The descendant announces the batch while the count is still 0.
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

} // namespace gui
