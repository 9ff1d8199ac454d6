// The accuracy modes run as a child process: the table and the JSON say
// the same, co-registration finds a known shift through the files, and
// faults end with the command line's statuses and nothing on stdout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/model/fractal_surface.h"

namespace {

struct Files {
    ScratchDir dir;
    std::string dem, ref, other, flat, surface, moved;

    Files()
    {
        Grid r = bumpy(12, 14, 9u, 100, 10);
        for (std::size_t i = 0; i < r.h.size(); i += 7)
            r.h[i] = 0; // absent
        dem = dir.write("dem.grd", bumpy(12, 14, 7u, 100, 30).text());
        ref = dir.write("ref.grd", r.text());
        other = dir.write("other.grd", filled(12, 13, 100).text());
        flat = dir.write("flat.grd", filled(12, 14, 100).text());
        FractalSurface s(3);
        surface = dir.write("surface.grd", Grid(90, 100, s.grid(90, 100)).text());
        moved = dir.write("moved.grd", Grid(90, 100, s.grid(90, 100, 0.3, -0.6, 1.5)).text());
    }
};
const Files& files()
{
    static const Files f;
    return f;
}

// The name and value of each "name": number-or-null pair of a JSON text.
std::vector<std::pair<std::string, std::string>> jsonPairs(const std::string& json)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::regex pair("\"(\\w+)\": (null|true|false|-?[0-9.eE+-]+)");
    for (std::sregex_iterator i(json.begin(), json.end(), pair), end; i != end; ++i)
        out.emplace_back((*i)[1], (*i)[2]);
    return out;
}

double json(const std::string& text, const std::string& key)
{
    for (const auto& [name, value] : jsonPairs(text))
        if (name == key)
            return std::atof(value.c_str());
    ADD_FAILURE() << "no " << key << " in " << text;
    return 0;
}

TEST(CliMetrics, TableAndJsonSayTheSame)
{
    const Files& f = files();
    Outcome text = runOrolith({"--metrics", "--slope-classes=0,1,45,90", f.dem, f.ref});
    Outcome js = runOrolith({"--metrics", "--format", "json", "--slope-classes", "0,1,45", f.dem, f.ref});
    ASSERT_EQ(text.status, 0) << text;
    ASSERT_EQ(js.status, 0) << js;

    // The table's words after its header, row by row; the JSON's values in
    // the same order: "all" first, then the classes, each from the count.
    std::istringstream rows(text.out);
    std::string line;
    std::getline(rows, line);
    std::vector<std::vector<std::string>> table;
    for (std::string word; std::getline(rows, line);) {
        std::istringstream words(line.substr(12));
        table.push_back({line.substr(0, 12)});
        while (words >> word)
            table.back().push_back(word);
    }
    ASSERT_EQ(table.size(), 4u) << text;
    EXPECT_EQ(table[0][0], "[0, 1)      ");
    EXPECT_EQ(table[2][0], "[45, 90]    ") << "90 closes the last class";
    std::rotate(table.begin(), table.end() - 1, table.end());
    EXPECT_NE(js.out.find("{\"from\": 1, \"to\": 45, \"count\": "), std::string::npos) << js;

    std::vector<std::string> values;
    for (const auto& [name, value] : jsonPairs(js.out))
        if (name != "from" && name != "to")
            values.push_back(value);
    ASSERT_EQ(values.size(), 4 * 10u) << js;
    int empty = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& t = table[i / 10][1 + i % 10];
        if (values[i] == "null") {
            EXPECT_EQ(t, "n/a") << "figure " << i;
            ++empty;
        } else {
            EXPECT_NEAR(std::atof(t.c_str()), std::atof(values[i].c_str()), 0.0005 + 1e-9) << "figure " << i;
        }
    }
    EXPECT_EQ(empty, 9) << "one class is empty: its figures read n/a and null";
    EXPECT_EQ(json(js.out, "count"), 144) << "12 x 14 points of which every 7th is absent";
}

TEST(CliCoregister, FindsTheShiftOfAMovedSurfaceInTextAndJson)
{
    const Files& f = files();
    Outcome js = runOrolith({"--coregister", "--format", "json", f.surface, f.moved});
    ASSERT_EQ(js.status, 0) << js;
    EXPECT_NEAR(json(js.out, "shift_east"), 0.3, 0.05) << js;
    EXPECT_NEAR(json(js.out, "shift_north"), -0.6, 0.05) << js;
    EXPECT_NEAR(json(js.out, "bias"), 1.5, 0.05) << js;
    std::size_t before = js.out.find("\"before\": {"), after = js.out.find("\"after\": {");
    ASSERT_TRUE(before != std::string::npos && after != std::string::npos && before < after) << js;
    EXPECT_NEAR(json(js.out.substr(after), "median"), -json(js.out, "bias"), 1e-9) << "the bias is left in after";

    Outcome text = runOrolith({"--coregister", f.surface, f.moved});
    ASSERT_EQ(text.status, 0) << text;
    char head[128];
    std::snprintf(head, sizeof head, "shift east:  %.3f cells\nshift north: %.3f cells\nbias:        %.3f\n",
                  json(js.out, "shift_east"), json(js.out, "shift_north"), json(js.out, "bias"));
    EXPECT_EQ(text.out.rfind(head, 0), 0u) << text;
    EXPECT_NE(text.out.find("\nbefore:\nslope (deg)"), std::string::npos) << text;
    EXPECT_NE(text.out.find("\nafter (the comparison grid moved back by the shift):\nslope (deg)"), std::string::npos);
}

TEST(CliMetrics, FaultsEndWithTheirStatusAndNothingOnStdout)
{
    const Files& f = files();
    const std::string missing = f.dir.path + "/absent.grd";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"--metrics", f.dem, f.other}, 1, "Grid sizes do not match"},
        {{"--coregister", f.dem, f.other}, 1, "Grid sizes do not match"},
        {{"--coregister", f.flat, f.flat}, 1, "Cannot co-register the grids: too few points"},
        {{"--metrics", missing, f.ref}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--coregister", f.dem, missing}, 255, "ERROR: file \"" + missing + "\" not found"},
    };
    for (std::vector<std::string> usage : std::vector<std::vector<std::string>>{
             {"--metrics", f.dem}, {"--metrics", f.dem, f.ref, f.ref}, {"--metrics", "--format", "xml", f.dem, f.ref},
             {"--metrics", f.dem, f.ref, "--format"}, {"--coregister", "--frobnicate", f.dem, f.ref},
             {"--metrics", "--slope-classes", "10,5", f.dem, f.ref}, {"--metrics", "--slope-classes=0,95", f.dem, f.ref},
             {"--metrics", "--slope-classes", "90", f.dem, f.ref}, {"--metrics", "--slope-classes", "0,,5", f.dem, f.ref},
             {"--coregister", "--slope-classes", "5,5", f.dem, f.ref}})
        cases.push_back({usage, 2, "Usage: orolith"});
    for (const Case& k : cases) {
        Outcome r = runOrolith(k.args);
        EXPECT_EQ(r.status, k.status) << k.args[1] << r;
        EXPECT_NE(r.err.find(k.message), std::string::npos) << r;
        EXPECT_EQ(r.out, "") << r;
    }
    Outcome help = runOrolith({"--help"});
    for (const char* option : {"--metrics", "--coregister", "--format", "--slope-classes"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option << " in the usage text";
}

} // namespace
