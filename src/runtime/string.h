// String: the runtime's one text type. An immutable sequence of 16-bit code units whose
// representation is shared between copies by a (non-atomic) reference count.
#pragma once

#include <cstdio>
#include <cstdlib>

// One 16-bit code unit. wchar_t is 32 bits on Linux, so the runtime has its own type.
typedef char16_t Char;

template <class T> class Array;

class String {
public:
    // One heap block of 8 + 2 * length bytes: the two counts, then the units (no terminator).
    struct Rep {
        int refs;
        int length;

        Char* data() { return reinterpret_cast<Char*>(this + 1); }
        const Char* data() const { return reinterpret_cast<const Char*>(this + 1); }

        // Only representations with units are counted: the empty one is static, never freed,
        // and shared by copies that never retain it, so its count would only drift.
        void retain() {
            if (length != 0) ++refs;
        }
        // Frees the block when the last reference goes.
        void release() {
            if (length != 0 && --refs == 0) destroy();
        }
        void destroy();

        // A new representation with refs 1 and room for `length` units; 0 gives &nullRep.
        static Rep* alloc(int length);
    };

    static Rep nullRep;

    // A temporary narrow copy for C interfaces: each character is the low 8 bits of a unit.
    template <class C> class CString {
    public:
        explicit CString(const String& s);
        CString(const CString& other);
        CString& operator=(const CString& other);
        ~CString();
        operator const C*() const { return chars(); }
        const C* chars() const { return reinterpret_cast<const C*>(block_ + 1); }

    private:
        int* block_;  // count, then the characters and a terminating zero
    };

    String() : rep_(&nullRep) {}
    String(const char* s);
    String(const Char* p, int n);
    explicit String(int v);
    explicit String(float v);
    // A one-unit string from a character code (only its low 16 bits are kept).
    static String FromChar(int code);
    // UTF-8 text of up to three bytes a character; text that is not valid UTF-8 is taken a unit
    // per byte, as Load does.
    static String FromUtf8(const char* text);

    String(const String& s) : rep_(s.rep_) { rep_->retain(); }
    String(String&& s) noexcept : rep_(s.rep_) { s.rep_ = &nullRep; }
    ~String() { rep_->release(); }
    String& operator=(const String& s);
    String& operator=(String&& s) noexcept;

    int Length() const { return rep_->length; }
    // No bounds check: callers keep the index within 0 .. Length() - 1.
    int operator[](int index) const { return rep_->data()[index]; }
    const Char* Data() const { return rep_->data(); }

    // Position of the first occurrence of `sub` at or after `start`, or -1. An empty `sub`
    // matches at `start` (a negative start counts as 0).
    int Find(const String& sub, int start = 0) const;
    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int term) const;
    Array<String> Split(const String& separator) const;
    String Replace(const String& find, const String& replacement) const;

    bool operator==(const String& s) const;
    bool operator!=(const String& s) const { return !(*this == s); }
    String operator+(const String& s) const;
    String& operator+=(const String& s) { return *this = *this + s; }

    // Parses the first 63 units (low 8 bits each) as atoi does; no digits give 0.
    int ToInt() const;
    CString<char> ToCString() const { return CString<char>(*this); }

    // Reads a whole file as text: UTF-16 with either byte order mark, else UTF-8 (a leading
    // UTF-8 mark skipped), else, when the UTF-8 is invalid, one unit per byte.
    static String Load(FILE* file);

    // True when both share one representation (copies are O(1) and share).
    bool SharesRepWith(const String& s) const { return rep_ == s.rep_; }

private:
    explicit String(Rep* rep) : rep_(rep) {}

    Rep* rep_;
};

// Set by String::Load: null, or "Invalid UTF-8" when the text fell back to single bytes.
extern const char* _str_load_err;

// Element helpers for arrays of strings: construct n empty strings, copies of n strings, or
// release n strings in place.
void t_create(int n, String* p);
void t_create(int n, String* p, const String* src);
void t_destroy(int n, String* p);
