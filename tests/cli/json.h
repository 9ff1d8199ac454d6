// A small JSON reader for the tests: enough to prove that output parses
// and to read its values by key and index.
#ifndef OROLITH_TESTS_CLI_JSON_H
#define OROLITH_TESTS_CLI_JSON_H

#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Json {
    enum Kind { null, boolean, number, string, array, object } kind = null;
    double num = 0;
    bool truth = false;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    // A missing key or index reads as null.
    const Json& operator[](const std::string& key) const
    {
        for (const auto& [k, v] : members)
            if (k == key)
                return v;
        return none();
    }
    const Json& operator[](std::size_t i) const { return i < items.size() ? items[i] : none(); }
    bool isNull() const { return kind == null; }

private:
    static const Json& none()
    {
        static const Json n;
        return n;
    }
};

namespace json_detail {
struct Reader {
    const std::string& s;
    std::size_t p = 0;

    void blanks()
    {
        while (p < s.size() && std::isspace(static_cast<unsigned char>(s[p])))
            ++p;
    }
    bool literal(const char* word)
    {
        std::string w = word;
        if (s.compare(p, w.size(), w) != 0)
            return false;
        p += w.size();
        return true;
    }
    std::optional<std::string> str()
    {
        if (s[p] != '"')
            return std::nullopt;
        std::string out;
        for (++p; p < s.size() && s[p] != '"'; ++p) {
            if (s[p] == '\\' && ++p < s.size())
                out += s[p] == 'n' ? '\n' : s[p] == 't' ? '\t' : s[p];
            else
                out += s[p];
        }
        if (p >= s.size())
            return std::nullopt;
        ++p;
        return out;
    }
    std::optional<Json> value()
    {
        blanks();
        if (p >= s.size())
            return std::nullopt;
        Json v;
        char ch = s[p];
        if (ch == '{') {
            v.kind = Json::object;
            ++p;
            blanks();
            if (p < s.size() && s[p] == '}')
                return ++p, v;
            for (;;) {
                blanks();
                auto key = p < s.size() ? str() : std::nullopt;
                blanks();
                if (!key || p >= s.size() || s[p++] != ':')
                    return std::nullopt;
                auto member = value();
                if (!member)
                    return std::nullopt;
                v.members.emplace_back(*key, *member);
                blanks();
                if (p < s.size() && s[p] == ',') {
                    ++p;
                    continue;
                }
                if (p < s.size() && s[p] == '}')
                    return ++p, v;
                return std::nullopt;
            }
        }
        if (ch == '[') {
            v.kind = Json::array;
            ++p;
            blanks();
            if (p < s.size() && s[p] == ']')
                return ++p, v;
            for (;;) {
                auto item = value();
                if (!item)
                    return std::nullopt;
                v.items.push_back(*item);
                blanks();
                if (p < s.size() && s[p] == ',') {
                    ++p;
                    continue;
                }
                if (p < s.size() && s[p] == ']')
                    return ++p, v;
                return std::nullopt;
            }
        }
        if (ch == '"') {
            auto t = str();
            if (!t)
                return std::nullopt;
            v.kind = Json::string;
            v.text = *t;
            return v;
        }
        if (literal("null"))
            return v;
        if (literal("true") || literal("false")) {
            v.kind = Json::boolean;
            v.truth = s[p - 1] == 'e' && s[p - 2] == 'u';
            return v;
        }
        char* end = nullptr;
        v.num = std::strtod(s.c_str() + p, &end);
        if (end == s.c_str() + p)
            return std::nullopt;
        p = static_cast<std::size_t>(end - s.c_str());
        v.kind = Json::number;
        return v;
    }
};
} // namespace json_detail

// The value of a whole JSON text, or nothing when it does not parse.
inline std::optional<Json> parseJson(const std::string& text)
{
    json_detail::Reader r{text};
    auto v = r.value();
    r.blanks();
    return v && r.p == text.size() ? v : std::nullopt;
}

#endif
