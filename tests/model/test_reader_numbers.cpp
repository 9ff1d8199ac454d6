// Number parsing of the grid reader: every well-formed token must read to
// the same float that formatted stream input reads from it.
#include <cstring>
#include <random>
#include <sstream>

#include "model/tokens.h"
#include "tests/model/reader_fixtures.h"

namespace {
using namespace reader_test;

struct StreamRead {
    bool ok = false;
    float value = 0;
};

// What `stream >> float` makes of a whole token.
StreamRead streamRead(const std::string& token)
{
    std::istringstream in(token);
    StreamRead r;
    in >> r.value;
    r.ok = !in.fail() && in.peek() == std::char_traits<char>::eof();
    return r;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string digits(std::mt19937& rng, int count)
{
    std::string out;
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < count; ++i)
        out += static_cast<char>('0' + digit(rng));
    return out;
}

// A random well-formed decimal token whose value stays within the range
// of normal floats: optional sign ('+' or '-'), integer part, fraction,
// exponent in either case with an optional sign.
std::string randomToken(std::mt19937& rng)
{
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (;;) {
        std::string t;
        int sign = pick(4);
        if (sign == 1)
            t += '-';
        else if (sign == 2)
            t += '+';
        int intDigits = pick(3) == 0 ? 0 : 1 + pick(pick(5) == 0 ? 30 : 6);
        int fracDigits = pick(3) == 0 ? 0 : 1 + pick(pick(5) == 0 ? 30 : 6);
        if (intDigits == 0 && fracDigits == 0)
            intDigits = 1;
        t += digits(rng, intDigits);
        if (fracDigits > 0 || pick(8) == 0)
            t += '.';
        t += digits(rng, fracDigits);
        int exponent = 0;
        if (pick(3) == 0) {
            exponent = pick(61) - 30;
            t += pick(2) ? 'e' : 'E';
            if (exponent < 0)
                t += '-';
            else if (pick(2))
                t += '+';
            if (pick(4) == 0)
                t += '0';
            t += std::to_string(exponent < 0 ? -exponent : exponent);
        }
        int magnitude = std::max(intDigits, 1) + exponent;
        if (magnitude < 35 && magnitude > -30)
            return t;
    }
}

TEST(ReaderNumberTest, RandomDecimalTokensReadAsStreamInputReadsThem)
{
    std::mt19937 rng(20240611u);
    int compared = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string token = randomToken(rng);
        StreamRead expected = streamRead(token);
        if (!expected.ok)
            continue; // not a whole well-formed token for the stream either
        ++compared;
        float v = -12345.0f;
        ASSERT_TRUE(parseFloat(token, v)) << "height token \"" << token << "\" was rejected";
        ASSERT_TRUE(sameBits(v, expected.value))
            << "height token \"" << token << "\" read as " << v << ", stream input reads " << expected.value;
    }
    EXPECT_GT(compared, 4500) << "the generator must produce well-formed tokens";
}

TEST(ReaderNumberTest, HandPickedTokensReadAsStreamInputReadsThem)
{
    const char* tokens[] = {
        "0", "-0", "+0", "-0.0", "+5", "+.5", "-.5", "5.", "007", "1E5", "1e+5", "1e-5", "1e05",
        "2175.3", "-9999", "3.4028234e38", "-3.4028234e38", "1.17549435e-38", "0.1", "0.30000000000000004",
        "123456789012345678901234567890", "1.00000005960464477539062500000000000001",
        "99999999999999999999.999999999999999999", "16777217", "-16777217", "4.4408920985006262e-16",
    };
    for (const char* token : tokens) {
        StreamRead expected = streamRead(token);
        ASSERT_TRUE(expected.ok) << token;
        float v = -12345.0f;
        EXPECT_TRUE(parseFloat(token, v)) << "height token \"" << token << "\" was rejected";
        EXPECT_TRUE(sameBits(v, expected.value))
            << "height token \"" << token << "\" read as " << v << ", stream input reads " << expected.value;
    }
}

TEST(ReaderNumberTest, TinyHeightsReadAsStreamInputReadsThem)
{
    // Stream input reads a value below the smallest float as 0 (or a
    // subnormal), without failing; such a height must not make a whole
    // grid unreadable.
    const char* tokens[] = {"1e-40", "1.4e-45", "-1e-42", "1e-46", "1e-50", "-2.5e-60",
                            "0.0000000000000000000000000000000000000000000000000000001"};
    for (const char* token : tokens) {
        StreamRead expected = streamRead(token);
        ASSERT_TRUE(expected.ok) << token;
        float v = -12345.0f;
        EXPECT_TRUE(parseFloat(token, v)) << "tiny height token \"" << token << "\" was rejected as not a number";
        EXPECT_TRUE(sameBits(v, expected.value))
            << "tiny height token \"" << token << "\" read as " << v << ", stream input reads " << expected.value;
    }
}

TEST(ReaderNumberTest, TokensStreamInputCannotReadWholeAreRejected)
{
    for (const char* token : {"", "-", "+", ".", "e5", "abc", "12x", "1e", "1e+", "--1", "+-1", "1.2.3", "inf",
                              "nan", "0x1p3", "1,5", "1e99", "-1e99"}) {
        float v = 42.0f;
        EXPECT_FALSE(parseFloat(token, v)) << "\"" << token << "\" must not be taken as a height";
        EXPECT_EQ(v, 42.0f) << "a rejected token leaves the value alone";
    }
}

TEST(ReaderNumberDeathTest, GridWithTinyHeightLoads)
{
    ScratchDir dir;
    std::string path = dir.write("tiny_height.grd", "ncols 3\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                                    "12.5 1e-50 +7\n");
    // A height of 1e-50 reads as 0, as stream input reads it.
    EXPECT_DEM_LOADS_WITH_HEIGHTS(path, {12.5f, 0.0f, 7.0f});
}

} // namespace
