#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace core {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int decimalDigits(qint64 n)
{
    int count = 1;
    while (n >= 10) {
        n /= 10;
        ++count;
    }
    return count;
}

// The text std::to_chars gives for a number with up to four decimals and fewer than 16 digits,
// nearly every number of a log, without its general search: the decimal m / 10^k that reads back
// to the value is found by scaling. Below 10^15 no other decimal with as few decimals lies as
// near, so it is the shortest. Written only where to_chars would write it plainly too (a tie in
// length goes to the plain form); false leaves the rest to to_chars.
bool plainShortest(double value, char *out, char **end)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4};
    static constexpr qint64 limit = 1000000000000000; // 10^15
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e15))
        return false;
    for (int decimals = 0; decimals <= 4; ++decimals) {
        const double scaled = std::nearbyint(magnitude * powersOfTen[decimals]);
        if (scaled >= static_cast<double>(limit) || scaled / powersOfTen[decimals] != magnitude)
            continue;
        const auto digits = static_cast<qint64>(scaled);
        const int written = decimalDigits(digits);
        // The plain form's length against the exponent form's ("5e+05", "2.5e-01"); below 10^15
        // and down to four decimals the exponent always has two digits.
        int significant = written;
        for (qint64 rest = digits; rest != 0 && rest % 10 == 0; rest /= 10)
            --significant;
        const int wholeDigits = std::max(written - decimals, 1);
        const int plain = wholeDigits + (decimals > 0 ? 1 + decimals : 0);
        const int scientific = significant + (significant > 1 ? 1 : 0) + 4;
        if (digits == 0 || plain > scientific)
            return false;
        char *c = out;
        if (negative)
            *c++ = '-';
        char reversed[20];
        int count = 0;
        for (qint64 rest = digits; count < std::max(written, decimals + 1); rest /= 10)
            reversed[count++] = static_cast<char>('0' + rest % 10);
        for (int i = count - 1; i >= 0; --i) {
            *c++ = reversed[i];
            if (i == decimals && decimals > 0)
                *c++ = '.';
        }
        *end = c;
        return true;
    }
    return false;
}

} // namespace

bool NumberText::isNumeric(const QString &text)
{
    return read(text).has_value();
}

std::optional<double> NumberText::read(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    std::string mantissa; // digits of the number, in C notation for from_chars
    bool negative = false;
    qsizetype i = begin;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }

    bool sawDigit = false;
    bool sawComma = false;
    long long integerDigits = 0; // significant digits before the comma, for telling overflow from underflow
    long long leadingFractionZeros = 0;
    bool significantSeen = false;
    for (; i < end; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            sawDigit = true;
            mantissa.push_back(static_cast<char>(c.unicode()));
            if (c != QLatin1Char('0'))
                significantSeen = true;
            if (!sawComma && significantSeen)
                ++integerDigits;
            else if (sawComma && !significantSeen)
                ++leadingFractionZeros;
        } else if (c == QLatin1Char('.')) {
            continue; // group separator
        } else if (c == QLatin1Char(',') && !sawComma) {
            sawComma = true;
            mantissa.push_back('.');
        } else {
            break;
        }
    }
    if (!sawDigit)
        return std::nullopt;

    long long exponent = 0;
    if (i < end && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        bool expNegative = false;
        if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            expNegative = text[i] == QLatin1Char('-');
            ++i;
        }
        bool expDigit = false;
        for (; i < end && isDigit(text[i]); ++i) {
            expDigit = true;
            if (exponent < 100000000)
                exponent = exponent * 10 + (text[i].unicode() - '0');
        }
        if (!expDigit)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != end)
        return std::nullopt;

    const std::string c = mantissa + "e" + std::to_string(exponent);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(c.data(), c.data() + c.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (!significantSeen)
            value = 0.0;
        else {
            // The decimal exponent of the leading significant digit tells which way it left the range.
            const long long magnitude =
                integerDigits > 0 ? integerDigits - 1 + exponent : -(leadingFractionZeros + 1) + exponent;
            if (magnitude > 0)
                return std::nullopt;
            value = 0.0;
        }
    } else if (ec != std::errc() || ptr != c.data() + c.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

QString NumberText::text(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Unendlich") : QStringLiteral("Unendlich");
    if (value == 0.0)
        return QStringLiteral("0");

    // Round to 15 significant digits: d.dddddddddddddde±x
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    // Rounded up to 15 digits, the largest doubles would be written as a number beyond the range
    // of a double, which no longer reads back; those are rounded toward zero instead.
    const std::string largest = "179769313486231";
    if (exponent == 308 && digits > largest)
        digits = largest;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits.substr(0, 1);
        if (digits.size() > 1)
            out += "," + digits.substr(1);
        const int absExp = std::abs(exponent);
        out += exponent < 0 ? "E-" : "E+";
        if (absExp < 10)
            out += "0";
        out += std::to_string(absExp);
    } else if (exponent < 0) {
        out += "0," + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const size_t intLen = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "," + digits.substr(intLen);
        }
    }
    return QString::fromLatin1(out.c_str());
}

std::optional<double> NumberText::cutValue(double value)
{
    if (value != 0.0 && std::isfinite(value)) {
        // The 15 significant digits text() writes: d.dddddddddddddde±x. The shortest digits that
        // read back are the same when there are at most 15 of them, since a double lies nearer to
        // them than half the step between numbers of 15 digits; they are much quicker to find.
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
        if (std::find(buf, res.ptr, 'e') - buf > 16)
            res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
        const char *e = std::find(buf, res.ptr, 'e');
        int exponent = 0;
        std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
        if (exponent >= -4 && exponent < 15) {
            // Written without exponent, the text keeps its digits up to the second decimal.
            char digits[32];
            int kept = 0;
            for (const char *c = buf; c != e && kept < exponent + 3; ++c) {
                if (*c != '.')
                    digits[kept++] = *c;
            }
            const double truncated = kept > 0 ? fromDigits({digits, size_t(kept)}, exponent + 1 - kept) : 0.0;
            return value < 0 ? -truncated : truncated;
        }
    }
    return read(cut(text(value)));
}

QString NumberText::exact(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return text(value);
    char buffer[64];
    char *written = nullptr;
    if (!plainShortest(value, buffer, &written))
        written = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (char *c = buffer; c != written; ++c) {
        if (*c == 'e')
            *c = 'E';
        else if (*c == '.')
            *c = decimalSeparator;
    }
    return QString::fromLatin1(buffer, written - buffer);
}

double NumberText::fromDigits(std::string_view digits, int exponent)
{
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    // Up to 15 digits and 10^22 both are exact doubles, so one multiplication or division rounds
    // once, to the nearest double, as from_chars does.
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (digits.size() <= 15 && exponent >= -22 && exponent <= 22) {
        qint64 whole = 0;
        for (const char digit : digits)
            whole = whole * 10 + (digit - '0');
        const double exactWhole = static_cast<double>(whole);
        return exponent < 0 ? exactWhole / powersOfTen[-exponent] : exactWhole * powersOfTen[exponent];
    }
    std::string c(digits);
    c += 'e';
    c += std::to_string(exponent);
    double value = 0.0;
    std::from_chars(c.data(), c.data() + c.size(), value);
    return value;
}

QString NumberText::cut(const QString &text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return text;
    // A number text in exponent form keeps its exponent: cutting it off would turn 1,5E-05 into
    // "1,5E", which is no number, and 1,2345E-05 into 1,23, a value 100,000 times too large.
    const qsizetype exponent = text.indexOf(QLatin1Char('E'), comma, Qt::CaseInsensitive);
    if (exponent > comma && NumberText::isNumeric(text))
        return text.left(qMin(comma + 3, exponent)) + text.mid(exponent);
    return text.left(comma + 3);
}

} // namespace core
