#include "filelist/sortkeys.h"

#include "platform/filestamp.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

std::string ExtensionKey(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

int32_t PackDateTime(const std::tm& local)
{
    // 64 bits: tm_year near INT_MAX (files dated far in the future) would overflow in int.
    const int64_t year = int64_t{local.tm_year} + 1900;
    if (year < 1980 || year > 2107)
        return -1;
    // localtime_r always fills these in range; anything else can't be packed meaningfully.
    if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_mday > 31 ||
        local.tm_hour < 0 || local.tm_hour > 23 || local.tm_min < 0 || local.tm_min > 59 ||
        local.tm_sec < 0 || local.tm_sec > 60)
        return -1;
    const uint32_t packed = static_cast<uint32_t>(year - 1980) << 25 |
                            static_cast<uint32_t>(local.tm_mon + 1) << 21 |
                            static_cast<uint32_t>(local.tm_mday) << 16 |
                            static_cast<uint32_t>(local.tm_hour) << 11 |
                            static_cast<uint32_t>(local.tm_min) << 5 |
                            static_cast<uint32_t>(local.tm_sec / 2);
    // Years from 2044 set the top bit and come out negative, as the 32-bit stamp does.
    return static_cast<int32_t>(packed);
}

std::string DateKey(int32_t packed)
{
    const std::string padded = "000000000000" + std::to_string(packed);
    return padded.substr(padded.size() - 12);
}

std::string DateKeyOfFile(const std::string& path)
{
    const std::optional<platform::FileStamp> stamp = platform::StampOfFile(path);
    return stamp ? DateKeyOfTime(stamp->Modified) : DateKey(-1);
}

std::string DateKeyOfTime(std::time_t modified)
{
    std::tm local{};
    if (!platform::LocalTimeOf(modified, local))
        return DateKey(-1);
    return DateKey(PackDateTime(local));
}

std::string IndexText(std::size_t index, std::size_t count)
{
    const std::size_t largest = count > 0 ? count - 1 : 0;
    const std::size_t width = std::max<std::size_t>(5, std::to_string(largest).size());
    std::string text = std::to_string(index);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

std::vector<std::size_t> StableOrderByKeys(const std::vector<std::string>& keys)
{
    const std::size_t n = keys.size();

    // Collation is the costly part, and folders repeat keys a lot (extensions), so each
    // distinct key is collated once.
    std::unordered_map<std::string_view, std::size_t> idOfKey;
    idOfKey.reserve(n);
    std::vector<std::string_view> distinct;
    std::vector<std::size_t> idOfPosition(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto [it, added] = idOfKey.try_emplace(keys[i], distinct.size());
        if (added)
            distinct.push_back(keys[i]);
        idOfPosition[i] = it->second;
    }

    // An explicit locale: the default collator under C.UTF-8 compares code points.
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);

    // Sort keys turn each comparison into a byte comparison.
    std::vector<QCollatorSortKey> sortKeys;
    sortKeys.reserve(distinct.size());
    for (const std::string_view key : distinct)
        sortKeys.push_back(
            collator.sortKey(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()))));

    std::vector<std::size_t> byCollation(distinct.size());
    std::iota(byCollation.begin(), byCollation.end(), std::size_t{0});
    std::sort(byCollation.begin(), byCollation.end(), [&](std::size_t a, std::size_t b) {
        const int c = sortKeys[a].compare(sortKeys[b]);
        if (c != 0)
            return c < 0;
        return distinct[a] < distinct[b];
    });
    std::vector<std::size_t> rankOfId(distinct.size());
    for (std::size_t r = 0; r < byCollation.size(); ++r)
        rankOfId[byCollation[r]] = r;

    // A counting sort by rank: linear, and stable, so equal keys keep their input order.
    std::vector<std::size_t> start(distinct.size() + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++start[rankOfId[idOfPosition[i]] + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[start[rankOfId[idOfPosition[i]]]++] = i;
    return order;
}

std::vector<std::size_t> CaptureOrder(const std::vector<std::optional<CaptureTime>>& times,
                                      const std::function<std::string(std::size_t)>& dateKeyOf)
{
    std::vector<std::size_t> order;
    std::vector<std::size_t> undated;
    std::vector<std::string> undatedKeys;
    order.reserve(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (times[i]) {
            order.push_back(i);
        } else {
            undated.push_back(i);
            undatedKeys.push_back(dateKeyOf(i));
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return *times[a] < *times[b]; });
    for (std::size_t k : StableOrderByKeys(undatedKeys))
        order.push_back(undated[k]);
    return order;
}
