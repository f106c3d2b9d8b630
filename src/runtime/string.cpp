#include "runtime/string.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/array.h"
#include "runtime/debugger.h"
#include "runtime/file_bytes.h"

String::Rep String::nullRep = {1, 0};
const char* _str_load_err = nullptr;

namespace {

// A result length computed wide. Past the largest int it would wrap negative and the copy
// that follows would write far beyond its block, so such a result ends the program instead.
int CheckedLength(int64_t length) {
    if (length > INT_MAX) kxError(String("String too long"));
    return static_cast<int>(length);
}

}  // namespace

String::Rep* String::Rep::alloc(int length) {
    if (length <= 0) return &nullRep;
    Rep* rep = static_cast<Rep*>(std::malloc(sizeof(Rep) + sizeof(Char) * length));
    rep->refs = 1;
    rep->length = length;
    return rep;
}

// Kept out of line: inlined into callers that may hold the static empty representation, the
// compiler cannot see that its length of 0 keeps it from ever getting here.
[[gnu::noinline]] void String::Rep::destroy() { std::free(this); }

// ---- CString ----

template <class C> String::CString<C>::CString(const String& s) {
    int n = s.Length();
    size_t chars = static_cast<size_t>(n) + 1;  // with the terminating zero; n may be INT_MAX
    block_ = static_cast<int*>(std::malloc(sizeof(int) + sizeof(C) * chars));
    *block_ = 1;
    C* out = reinterpret_cast<C*>(block_ + 1);
    for (int i = 0; i < n; ++i) out[i] = static_cast<C>(s[i] & 0xFF);
    out[n] = 0;
}

template <class C> String::CString<C>::CString(const CString& other) : block_(other.block_) {
    ++*block_;
}

template <class C> String::CString<C>& String::CString<C>::operator=(const CString& other) {
    ++*other.block_;
    if (--*block_ == 0) std::free(block_);
    block_ = other.block_;
    return *this;
}

template <class C> String::CString<C>::~CString() {
    if (--*block_ == 0) std::free(block_);
}

template class String::CString<char>;

// ---- Construction ----

namespace {

// Bytes are taken as signed and widened, so 128-255 become 65408-65535.
String::Rep* RepFromBytes(const char* s) {
    int n = CheckedLength(static_cast<int64_t>(std::strlen(s)));
    String::Rep* rep = String::Rep::alloc(n);
    for (int i = 0; i < n; ++i) rep->data()[i] = static_cast<Char>(static_cast<signed char>(s[i]));
    return rep;
}

String::Rep* RepFromInt(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", v);
    return RepFromBytes(buf);
}

String::Rep* RepFromFloat(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17lg", static_cast<double>(v));
    // Integral values still read as floats: 1 prints as "1.0". Exponent forms stay as printed.
    if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::strcat(buf, ".0");
    return RepFromBytes(buf);
}

}  // namespace

String::String(const char* s) : rep_(RepFromBytes(s)) {}

String::String(const Char* p, int n) : rep_(Rep::alloc(n)) {
    if (n > 0) std::memcpy(rep_->data(), p, sizeof(Char) * n);
}

String::String(int v) : rep_(RepFromInt(v)) {}

String::String(float v) : rep_(RepFromFloat(v)) {}

String String::FromChar(int code) {
    Char c = static_cast<Char>(code);
    return String(&c, 1);
}

String& String::operator=(const String& s) {
    s.rep_->retain();
    rep_->release();
    rep_ = s.rep_;
    return *this;
}

String& String::operator=(String&& s) noexcept {
    if (this != &s) {
        rep_->release();
        rep_ = s.rep_;
        s.rep_ = &nullRep;
    }
    return *this;
}

// ---- Searching, slicing, splitting, replacing ----

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    int n = Length(), m = sub.Length();
    const Char* text = Data();
    const Char* pattern = sub.Data();
    // pos <= n - m rather than pos + m <= n: a start near the largest int must not wrap.
    for (int pos = start; pos <= n - m; ++pos) {
        if (std::memcmp(text + pos, pattern, sizeof(Char) * m) == 0) return pos;
    }
    return -1;
}

String String::Slice(int from, int term) const {
    int length = Length();
    if (from < 0) {
        from += length;
        if (from < 0) from = 0;
    } else if (from > length) {
        from = length;
    }
    if (term < 0) {
        term += length;
    } else if (term > length) {
        term = length;
    }
    if (from > term) return String();
    if (from == 0 && term == length) return *this;
    return String(Data() + from, term - from);
}

Array<String> String::Split(const String& separator) const {
    int length = Length();
    if (separator.Length() == 0) {
        Array<String> units(length);
        for (int i = 0; i < length; ++i) units[i] = FromChar((*this)[i]);
        return units;
    }
    int count = 0;
    for (int pos = Find(separator); pos != -1; pos = Find(separator, pos + separator.Length())) {
        ++count;
    }
    if (count == INT_MAX) ArrayTooLong();  // one piece more than the separators
    Array<String> pieces(count + 1);
    if (count == 0) {
        pieces[0] = *this;
        return pieces;
    }
    int start = 0;
    for (int k = 0; k < count; ++k) {
        int pos = Find(separator, start);
        pieces[k] = Slice(start, pos);
        start = pos + separator.Length();
    }
    pieces[count] = Slice(start, length);
    return pieces;
}

String String::Replace(const String& find, const String& replacement) const {
    // An empty pattern would match everywhere without advancing: leave the text alone.
    if (find.Length() == 0) return *this;
    int matches = 0;
    for (int pos = Find(find); pos != -1; pos = Find(find, pos + find.Length())) ++matches;
    if (matches == 0) return *this;

    int resultLength = CheckedLength(Length() + static_cast<int64_t>(matches) *
                                                    (replacement.Length() - find.Length()));
    Rep* rep = Rep::alloc(resultLength);
    Char* out = rep->data();
    int start = 0;
    for (int pos = Find(find); pos != -1; pos = Find(find, start)) {
        std::memcpy(out, Data() + start, sizeof(Char) * (pos - start));
        out += pos - start;
        std::memcpy(out, replacement.Data(), sizeof(Char) * replacement.Length());
        out += replacement.Length();
        start = pos + find.Length();
    }
    std::memcpy(out, Data() + start, sizeof(Char) * (Length() - start));
    return String(rep);
}

bool String::operator==(const String& s) const {
    if (rep_ == s.rep_) return true;
    return Length() == s.Length() && std::memcmp(Data(), s.Data(), sizeof(Char) * Length()) == 0;
}

String String::operator+(const String& s) const {
    if (Length() == 0) return s;
    if (s.Length() == 0) return *this;
    Rep* rep = Rep::alloc(CheckedLength(static_cast<int64_t>(Length()) + s.Length()));
    std::memcpy(rep->data(), Data(), sizeof(Char) * Length());
    std::memcpy(rep->data() + Length(), s.Data(), sizeof(Char) * s.Length());
    return String(rep);
}

// ---- Conversions ----

int String::ToInt() const {
    char buf[64];
    int n = Length() < 63 ? Length() : 63;
    for (int i = 0; i < n; ++i) buf[i] = static_cast<char>((*this)[i] & 0xFF);
    buf[n] = 0;
    // Parsed as atoi does, but a value beyond 32 bits reads as the nearest 32-bit value
    // instead of overflowing.
    long long value = std::strtoll(buf, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// ---- Loading ----

namespace {

void DecodeUtf16(const std::vector<unsigned char>& bytes, bool bigEndian, std::vector<Char>& out) {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned hi = bigEndian ? bytes[i] : bytes[i + 1];
        unsigned lo = bigEndian ? bytes[i + 1] : bytes[i];
        out.push_back(static_cast<Char>(hi << 8 | lo));
    }
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one- to three-byte sequences; false when the text is not valid in that scheme.
bool DecodeUtf8(const std::vector<unsigned char>& bytes, size_t start, std::vector<Char>& out) {
    size_t n = bytes.size();
    for (size_t i = start; i < n;) {
        unsigned b0 = bytes[i];
        if (b0 < 0x80) {
            out.push_back(static_cast<Char>(b0));
            i += 1;
        } else if ((b0 & 0xE0) == 0xC0 && i + 1 < n && IsContinuation(bytes[i + 1])) {
            out.push_back(static_cast<Char>((b0 & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
            i += 2;
        } else if ((b0 & 0xF0) == 0xE0 && i + 2 < n && IsContinuation(bytes[i + 1]) &&
                   IsContinuation(bytes[i + 2])) {
            out.push_back(static_cast<Char>((b0 & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 |
                                            (bytes[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

String String::Load(FILE* file) {
    std::vector<unsigned char> bytes = ReadFileToEnd(file);
    if (bytes.empty()) return String();
    _str_load_err = nullptr;

    std::vector<Char> units;
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        DecodeUtf16(bytes, true, units);
    } else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        DecodeUtf16(bytes, false, units);
    } else {
        size_t start = 0;
        if (bytes.size() > 2 && bytes[0] == 239 && bytes[1] == 187 && bytes[2] == 191) start = 3;
        if (!DecodeUtf8(bytes, start, units)) {
            _str_load_err = "Invalid UTF-8";
            units.assign(bytes.begin() + start, bytes.end());
        }
    }
    return String(units.data(), CheckedLength(static_cast<int64_t>(units.size())));
}

String String::FromUtf8(const char* text) {
    const std::vector<unsigned char> bytes(text, text + std::strlen(text));
    std::vector<Char> units;
    if (!DecodeUtf8(bytes, 0, units)) units.assign(bytes.begin(), bytes.end());
    return String(units.data(), CheckedLength(static_cast<int64_t>(units.size())));
}

// ---- Arrays of strings ----

void t_create(int n, String* p) {
    for (int i = 0; i < n; ++i) new (p + i) String();
}

void t_create(int n, String* p, const String* src) {
    for (int i = 0; i < n; ++i) new (p + i) String(src[i]);
}

void t_destroy(int n, String* p) {
    for (int i = 0; i < n; ++i) p[i].~String();
}
