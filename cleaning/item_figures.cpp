#include "cleaning/item_figures.h"

#include <cwchar>
#include <vector>

namespace {

std::wstring Counted(uint64_t count, const wchar_t* one, const wchar_t* many) {
    return GroupedNumber(count) + L' ' + (count == 1 ? one : many);
}

} // namespace

ItemFigures FromBrowser(const BrowserFigures& figures) {
    return {.measured = true,
            .files = figures.files.files,
            .bytes = figures.files.bytes,
            .records = figures.rows,
            .recordKind = figures.kind,
            .formEntries = figures.formEntries,
            .inUse = figures.inUse};
}

const wchar_t* RecordNoun(RecordKind kind, uint64_t count) {
    const bool one = count == 1;
    switch (kind) {
    case RecordKind::Visits: return one ? L"visit" : L"visits";
    case RecordKind::Cookies: return one ? L"cookie" : L"cookies";
    case RecordKind::Downloads: return one ? L"download" : L"downloads";
    case RecordKind::Logins: return one ? L"saved login" : L"saved logins";
    case RecordKind::FormEntries: return one ? L"form entry" : L"form entries";
    case RecordKind::CacheEntries: return one ? L"cache entry" : L"cache entries";
    case RecordKind::None: break;
    }
    return one ? L"record" : L"records";
}

bool ItemFigures::Nothing() const {
    return measured && files == 0 && bytes == 0 && recycled == 0 && entries == 0 && records == 0 &&
           formEntries == 0 && !inUse &&
           (clipboard == ClipboardContent::Unknown || clipboard == ClipboardContent::Empty);
}

ClipboardContent ClipboardContentOf(ClipboardData data) {
    switch (data) {
    case ClipboardData::None: break;
    case ClipboardData::Text: return ClipboardContent::Text;
    case ClipboardData::Other: return ClipboardContent::Other;
    }
    return ClipboardContent::Empty;
}

ItemFigures FromRemoved(const RemovedCounts& removed, const ItemFigures& after) {
    if (!after.measured) return {};
    return {.measured = true,
            .files = removed.files,
            .bytes = removed.bytes,
            .recycled = removed.recycled,
            .entries = removed.entries,
            .records = removed.rows,
            .recordKind = after.recordKind,
            .formEntries = removed.formEntries,
            .clipboard = after.clipboard == ClipboardContent::Unknown ? ClipboardContent::Unknown
                                                                        : ClipboardContentOf(removed.clipboard)};
}

std::wstring GroupedNumber(uint64_t number) {
    std::wstring digits = std::to_wstring(number);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
    return digits;
}

std::wstring SizeText(uint64_t bytes) {
    if (bytes < 1024) return Counted(bytes, L"byte", L"bytes");
    constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    double size = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    // 1023.96 KB would read "1024.0 KB": it is shown as the next unit instead.
    while (size >= 1023.95 && unit + 1 < std::size(kUnits)) {
        size /= 1024;
        ++unit;
    }
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%.1f %ls", size, kUnits[unit]);
    return text;
}

std::wstring FoundText(const ItemFigures& figures) {
    if (!figures.measured) return {};
    if (figures.Nothing()) return figures.clipboard == ClipboardContent::Empty ? L"empty" : L"nothing found";
    std::vector<std::wstring> parts;
    if (figures.files) parts.push_back(Counted(figures.files, L"file", L"files"));
    if (figures.recycled) parts.push_back(Counted(figures.recycled, L"item", L"items"));
    if (figures.records) parts.push_back(GroupedNumber(figures.records) + L' ' + RecordNoun(figures.recordKind, figures.records));
    if (figures.formEntries)
        parts.push_back(GroupedNumber(figures.formEntries) + L' ' + RecordNoun(RecordKind::FormEntries, figures.formEntries));
    if (figures.files || figures.recycled || figures.bytes) parts.push_back(SizeText(figures.bytes));
    if (figures.entries) parts.push_back(Counted(figures.entries, L"entry", L"entries"));
    if (figures.inUse) parts.push_back(L"in use");
    if (figures.clipboard == ClipboardContent::Text) parts.push_back(L"text");
    if (figures.clipboard == ClipboardContent::Other) parts.push_back(L"data");
    std::wstring text;
    for (const std::wstring& part : parts) text += (text.empty() ? L"" : L", ") + part;
    return text;
}
