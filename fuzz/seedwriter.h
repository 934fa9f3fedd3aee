#pragma once
// Writes fuzz inputs value by value, the way FuzzedDataProvider reads them back: numbers
// from the end of the input, strings from the front. Every value written is remembered and
// Check() reads the input back through the real provider, so a seed can't drift from what
// its name promises.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

class SeedWriter {
public:
    // ConsumeIntegralInRange<T>(min, max) gives value.
    template <typename T>
    SeedWriter& IntInRange(T min, T max, T value)
    {
        static_assert(std::is_integral_v<T>);
        const uint64_t range = static_cast<uint64_t>(max) - static_cast<uint64_t>(min);
        const uint64_t offset = static_cast<uint64_t>(value) - static_cast<uint64_t>(min);
        // As many bytes as the provider takes for this range; the first taken is the most
        // significant one.
        std::size_t bytes = 0;
        while (bytes * CHAR_BIT < sizeof(T) * CHAR_BIT && (range >> (bytes * CHAR_BIT)) > 0)
            ++bytes;
        for (std::size_t k = bytes; k-- > 0;)
            back_.push_back(static_cast<char>((offset >> (k * CHAR_BIT)) & 0xff));
        checks_.push_back([=](FuzzedDataProvider& in) { return in.ConsumeIntegralInRange<T>(min, max) == value; });
        return *this;
    }
    // ConsumeIntegral<T>() gives value.
    template <typename T>
    SeedWriter& Int(T value)
    {
        return IntInRange<T>(std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), value);
    }
    // ConsumeBool() gives value.
    SeedWriter& Bool(bool value)
    {
        back_.push_back(value ? '\1' : '\0');
        checks_.push_back([=](FuzzedDataProvider& in) { return in.ConsumeBool() == value; });
        return *this;
    }
    // ConsumeRandomLengthString(maxLength) gives text (at most maxLength bytes): a backslash
    // is doubled, and a backslash before anything else ends a shorter text.
    SeedWriter& String(std::size_t maxLength, const std::string& text)
    {
        for (const char c : text) {
            if (c == '\\')
                front_ += '\\';
            front_ += c;
        }
        if (text.size() < maxLength)
            front_ += "\\.";
        checks_.push_back([=](FuzzedDataProvider& in) {
            return text.size() <= maxLength && in.ConsumeRandomLengthString(maxLength) == text;
        });
        return *this;
    }
    // ConsumeRemainingBytesAsString() gives text; nothing may be read after it.
    SeedWriter& Rest(const std::string& text)
    {
        rest_ = text;
        checks_.push_back([=](FuzzedDataProvider& in) { return in.ConsumeRemainingBytesAsString() == text; });
        return *this;
    }

    std::string Bytes() const
    {
        return front_ + rest_ + std::string(back_.rbegin(), back_.rend());
    }

    // Reads the input back value by value; true when each value comes out as written and
    // nothing is left over.
    bool Check() const
    {
        const std::string bytes = Bytes();
        FuzzedDataProvider in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        for (const auto& check : checks_)
            if (!check(in))
                return false;
        return in.remaining_bytes() == 0;
    }

private:
    std::string front_;  // strings, in reading order
    std::string rest_;   // the remaining bytes, read last
    std::string back_;   // number bytes in reading order: the input ends with them reversed
    std::vector<std::function<bool(FuzzedDataProvider&)>> checks_;
};
