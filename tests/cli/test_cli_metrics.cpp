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

double json(const std::string& text, const std::string& key)
{
    std::smatch m;
    bool found = std::regex_search(text, m, std::regex("\"" + key + "\": (-?[0-9.eE+-]+)"));
    EXPECT_TRUE(found) << "no " << key << " in " << text;
    return found ? std::atof(m[1].str().c_str()) : 0;
}

TEST(CliMetrics, TableAndJsonSayTheSame)
{
    const Files& f = files();
    Outcome text = runOrolith({"--metrics", "--slope-classes=0,1,45,90", f.dem, f.ref});
    Outcome js = runOrolith({"--metrics", "--format", "json", "--slope-classes", "0,1,45", f.dem, f.ref});
    ASSERT_EQ(text.status, 0) << text;
    ASSERT_EQ(js.status, 0) << js;

    // The table's words after the labels, its last row ("all") first as in
    // the JSON, against the JSON's values other than the class bounds.
    std::vector<std::string> lines, table, json;
    std::istringstream rows(text.out);
    for (std::string line; std::getline(rows, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u) << text;
    EXPECT_EQ(lines[3].rfind("[45, 90]", 0), 0u) << "90 closes the last class";
    std::rotate(lines.begin() + 1, lines.end() - 1, lines.end());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::istringstream words(lines[i].substr(12));
        for (std::string w; words >> w;)
            table.push_back(w);
    }
    for (const auto& [name, value] : jsonPairs(js.out))
        if (name != "from" && name != "to")
            json.push_back(value);
    ASSERT_EQ(json.size(), table.size()) << js << text;
    int empty = 0;
    for (std::size_t i = 0; i < json.size(); ++i) {
        empty += json[i] == "null";
        if (json[i] == "null")
            EXPECT_EQ(table[i], "n/a") << "figure " << i << " of an empty class";
        else
            EXPECT_NEAR(std::atof(table[i].c_str()), std::atof(json[i].c_str()), 0.0005 + 1e-9) << "figure " << i;
    }
    EXPECT_EQ(empty, 9) << "one class is empty: its figures read n/a and null";
    EXPECT_EQ(json[0], "144") << "12 x 14 points of which every 7th is absent";
    EXPECT_NE(js.out.find("{\"from\": 1, \"to\": 45, \"count\": "), std::string::npos) << js;
}

TEST(CliCoregister, FindsTheShiftOfAMovedSurfaceInTextAndJson)
{
    const Files& f = files();
    Outcome js = runOrolith({"--coregister", "--format", "json", f.surface, f.moved});
    ASSERT_EQ(js.status, 0) << js;
    EXPECT_NEAR(json(js.out, "shift_east"), 0.3, 0.05) << js;
    EXPECT_NEAR(json(js.out, "shift_north"), -0.6, 0.05) << js;
    EXPECT_NEAR(json(js.out, "bias"), 1.5, 0.05) << js;
    std::size_t after = js.out.find("\"after\": {");
    ASSERT_TRUE(after != std::string::npos && js.out.find("\"before\": {") < after) << js;
    EXPECT_EQ(json(js.out.substr(after), "median"), -json(js.out, "bias")) << "the bias is left in after";

    Outcome text = runOrolith({"--coregister", f.surface, f.moved});
    char head[128];
    std::snprintf(head, sizeof head, "shift east:  %.3f cells\nshift north: %.3f cells\nbias:        %.3f\n",
                  json(js.out, "shift_east"), json(js.out, "shift_north"), json(js.out, "bias"));
    EXPECT_EQ(text.out.rfind(head, 0), 0u) << "the text says what the JSON says" << text;
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
