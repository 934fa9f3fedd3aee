// The orders of the sorts and the moves of selected rows, from any keys and selections:
// the result is always a rearrangement of the rows in ascending key order, equal keys keep
// their order and the selection goes with its rows.
#include "filelist/moves.h"
#include "filelist/sortkeys.h"

#include "check.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <numeric>
#include <string>
#include <vector>

namespace {

bool IsPermutation(const std::vector<std::size_t>& order, std::size_t n)
{
    std::vector<bool> seen(n, false);
    if (order.size() != n)
        return false;
    for (const std::size_t i : order) {
        if (i >= n || seen[i])
            return false;
        seen[i] = true;
    }
    return true;
}

// Whether key a may stand before key b: English collation, case-sensitive, and bytes where
// the collation sees no difference. Compared one pair at a time, not through sort keys.
bool InOrder(const std::string& a, const std::string& b)
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::English)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    const int c = collator.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                                   QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
    return c != 0 ? c < 0 : a <= b;
}

void CheckOrder(const std::vector<std::string>& keys)
{
    const std::vector<std::size_t> order = StableOrderByKeys(keys);
    FUZZ_CHECK(IsPermutation(order, keys.size()));
    for (std::size_t i = 1; i < order.size(); ++i)
        FUZZ_CHECK(InOrder(keys[order[i - 1]], keys[order[i]]));
    // Rows with equal keys sit together, in their input order.
    for (std::size_t a = 0; a < order.size(); ++a) {
        for (std::size_t b = a + 1; b < order.size(); ++b) {
            if (keys[order[a]] != keys[order[b]])
                continue;
            FUZZ_CHECK(order[a] < order[b]);
            for (std::size_t m = a + 1; m < b; ++m)
                FUZZ_CHECK(keys[order[m]] == keys[order[a]]);
        }
    }
    // Sorting the sorted keys again changes nothing.
    std::vector<std::string> sorted;
    for (const std::size_t i : order)
        sorted.push_back(keys[i]);
    const std::vector<std::size_t> again = StableOrderByKeys(sorted);
    for (std::size_t i = 0; i < again.size(); ++i)
        FUZZ_CHECK(again[i] == i);
}

void CheckMove(std::size_t n, const std::vector<bool>& selectedBefore, bool up)
{
    std::vector<std::size_t> rows(n);
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    std::vector<bool> selected = selectedBefore;
    const bool moved = up ? MoveSelectedUp(rows, selected) : MoveSelectedDown(rows, selected);
    FUZZ_CHECK(IsPermutation(rows, n));
    if (!moved) {
        FUZZ_CHECK(n > 0 && selectedBefore[up ? 0 : n - 1]);
        for (std::size_t i = 0; i < n; ++i)
            FUZZ_CHECK(rows[i] == i && selected[i] == selectedBefore[i]);
        return;
    }
    std::vector<std::size_t> selectedRows, otherRows;
    for (std::size_t i = 0; i < n; ++i) {
        // The flag travels with its row, and a selected row moves exactly one place.
        FUZZ_CHECK(selected[i] == selectedBefore[rows[i]]);
        if (selected[i]) {
            FUZZ_CHECK(up ? rows[i] == i + 1 : rows[i] + 1 == i);
            selectedRows.push_back(rows[i]);
        } else {
            otherRows.push_back(rows[i]);
        }
    }
    FUZZ_CHECK(std::is_sorted(selectedRows.begin(), selectedRows.end()));
    FUZZ_CHECK(std::is_sorted(otherRows.begin(), otherRows.end()));
}

void CheckDate(FuzzedDataProvider& in)
{
    std::tm t{};
    t.tm_year = in.ConsumeIntegral<int>();
    t.tm_mon = in.ConsumeIntegralInRange<int>(-2, 13);
    t.tm_mday = in.ConsumeIntegralInRange<int>(-1, 32);
    t.tm_hour = in.ConsumeIntegralInRange<int>(-1, 24);
    t.tm_min = in.ConsumeIntegralInRange<int>(-1, 60);
    t.tm_sec = in.ConsumeIntegralInRange<int>(-1, 61);
    if (in.ConsumeBool())
        t.tm_year = in.ConsumeIntegralInRange<int>(70, 220);
    const int32_t packed = PackDateTime(t);
    const long long year = static_cast<long long>(t.tm_year) + 1900;
    const bool fits = year >= 1980 && year <= 2107 && t.tm_mon >= 0 && t.tm_mon <= 11 &&
                      t.tm_mday >= 1 && t.tm_mday <= 31 && t.tm_hour >= 0 && t.tm_hour <= 23 &&
                      t.tm_min >= 0 && t.tm_min <= 59 && t.tm_sec >= 0 && t.tm_sec <= 60;
    if (!fits) {
        FUZZ_CHECK(packed == -1);
    } else {
        // The fields come back out of the stamp.
        const uint32_t p = static_cast<uint32_t>(packed);
        FUZZ_CHECK((p >> 25) == year - 1980);
        FUZZ_CHECK(((p >> 21) & 15) == static_cast<uint32_t>(t.tm_mon + 1));
        FUZZ_CHECK(((p >> 16) & 31) == static_cast<uint32_t>(t.tm_mday));
        FUZZ_CHECK(((p >> 11) & 31) == static_cast<uint32_t>(t.tm_hour));
        FUZZ_CHECK(((p >> 5) & 63) == static_cast<uint32_t>(t.tm_min));
        FUZZ_CHECK((p & 31) == static_cast<uint32_t>(t.tm_sec / 2));
    }
    FUZZ_CHECK(DateKey(packed).size() == 12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    CheckDate(in);
    const bool up = in.ConsumeBool();
    std::vector<std::string> keys;
    std::vector<bool> selected;
    while (in.remaining_bytes() > 0 && keys.size() < 64) {
        selected.push_back(in.ConsumeBool());
        // Names, cut to their extensions as the extension sort does.
        const std::string name = in.ConsumeRandomLengthString(24);
        const std::string key = ExtensionKey(name);
        FUZZ_CHECK(key.empty() ? name.find('.') == std::string::npos
                               : key[0] == '.' && name.size() >= key.size() &&
                                     name.compare(name.size() - key.size(), key.size(), key) == 0);
        keys.push_back(key.empty() || (keys.size() % 3 == 0) ? name : key);
    }
    CheckOrder(keys);
    CheckMove(keys.size(), selected, up);
    return 0;
}
