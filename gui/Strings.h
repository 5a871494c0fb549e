#pragma once
// TStrings: the abstract list of strings with associated objects behind every "Items" and
// "Lines" property, and the text forms of such a list (lines, comma text, name=value pairs).
// Descendants store the strings; this class gives them their text, search and file forms.
#include "gui/Classes.h"

#include <string>

namespace gui {

class TStrings : public TPersistent {
public:
    std::string ClassName() const override { return "TStrings"; }

    virtual int Count() const = 0;
    std::string Strings(int index) const { return Get(index); }
    std::string operator[](int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const std::string& s);
    virtual int AddObject(const std::string& s, TObject* object);
    virtual void Insert(int index, const std::string& s) = 0;
    void InsertObject(int index, const std::string& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    void AddStrings(const TStrings& strings);
    void Assign(const TPersistent* source) override;
    bool Equals(const TStrings& strings) const;

    virtual int IndexOf(const std::string& s) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* object) const;

    // Every line followed by LineBreak.  Reading splits at CR, LF or CR LF (one break each).
    std::string Text() const;
    virtual void SetText(const std::string& text);
    // The Windows break, CR LF, so that texts handed between components (option strings,
    // skin text, memo lines) stay byte for byte what they were; every reader here accepts CR,
    // LF and CR LF alike.  Files meant for Linux tools can set "\n".
    std::string LineBreak = "\r\n";

    // Delimited forms: items holding a blank, a control character, the quote or the delimiter
    // are quoted (inner quotes doubled).  Reading splits at the delimiter and at blanks outside
    // quotes; a trailing delimiter gives a last empty item.
    char Delimiter = ',';
    char QuoteChar = '"';
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& text);
    std::string CommaText() const; // always ',' and '"'
    void SetCommaText(const std::string& text);

    // name=value lines, split at the first "=".  Setting an empty value deletes the line.
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;
    void SetValues(const std::string& name, const std::string& value);
    std::string ValueFromIndex(int index) const;

    // Changes between BeginUpdate and EndUpdate are announced once.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // UTF-8 text; a byte-order mark at the start is skipped.  Raises EFOpenError/EFCreateError.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

protected:
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual TObject* GetObject(int) const { return nullptr; }
    virtual void PutObject(int, TObject*) {}
    virtual void SetUpdateState(bool) {}
    // Case-insensitive unless a descendant says otherwise; ASCII letters fold, other bytes
    // compare by value (so UTF-8 text sorts by code point).
    virtual int CompareStrings(const std::string& a, const std::string& b) const;

private:
    std::string DelimitedWith(char delimiter, char quote) const;
    void SetDelimitedWith(const std::string& text, char delimiter, char quote);
    int updateCount_ = 0;
};

// ASCII-folding comparison used by the string lists and the ini files.
int CompareTextAscii(const std::string& a, const std::string& b);

} // namespace gui
