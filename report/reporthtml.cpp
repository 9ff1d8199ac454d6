#include "report/reporthtml.h"

#include "report/checkpointtables.h"
#include "report/names.h"
#include "report/reportpictures.h"
#include "report/reportsections.h"
#include "report/reporttables.h"

namespace orolith::report {

namespace {

// The width the pictures are rendered at; the page scales them to its own.
constexpr int PICTURE_WIDTH = 900;

const char* const STYLE = R"(
body { font-family: sans-serif; max-width: 980px; margin: 24px auto; padding: 0 16px; color: #222; }
h1 { font-size: 1.6em; margin-bottom: 0.2em; }
h2 { font-size: 1.25em; border-bottom: 1px solid #ccc; padding-bottom: 0.2em; margin-top: 1.6em; }
p.note { color: #555; font-size: 0.92em; }
table { border-collapse: collapse; margin: 0.6em 0; font-size: 0.9em; }
th, td { border: 1px solid #ddd; padding: 3px 8px; text-align: right; }
th { background: #f2f2f2; }
td:first-child, th:first-child { text-align: left; }
table.files td { text-align: left; }
img { width: 100%; max-width: 900px; display: block; margin: 0.6em 0; }
div.row { display: flex; gap: 2%; }
div.row img { width: 49%; }
td.path { word-break: break-all; }
pre { background: #f7f7f7; padding: 10px; font-size: 0.82em; overflow-x: auto; }
)";

// The files table's second column holds paths, which may break anywhere.
std::string tableHtml(const Table& t, const char* cssClass = "")
{
    const bool paths = std::string(cssClass) == "files";
    std::string out = std::string("<table class=\"") + cssClass + "\">\n<tr>";
    for (const std::string& h : t.header)
        out += "<th>" + escapeHtml(h) + "</th>";
    out += "</tr>\n";
    for (const auto& row : t.rows) {
        out += "<tr>";
        for (std::size_t k = 0; k < row.size(); ++k)
            out += (paths && k == 1 ? "<td class=\"path\">" : "<td>") + escapeHtml(row[k]) + "</td>";
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string imageHtml(const Picture& p, int width)
{
    return "<img alt=\"" + escapeHtml(p.name) + "\" src=\"data:image/png;base64," + base64(picturePng(p, width)) +
           "\">\n";
}

std::string picturesHtml(const std::vector<Picture>& pictures)
{
    std::string out;
    for (const Picture& p : pictures)
        out += imageHtml(p, PICTURE_WIDTH);
    return out;
}

// Two pictures a row, each half the page wide.
std::string pictureRowsHtml(const std::vector<Picture>& pictures)
{
    std::string out;
    for (std::size_t k = 0; k < pictures.size(); k += 2) {
        out += "<div class=\"row\">\n";
        for (std::size_t j = k; j < k + 2 && j < pictures.size(); ++j)
            out += imageHtml(pictures[j], PICTURE_WIDTH / 2 + 50);
        out += "</div>\n";
    }
    return out;
}

std::string section(const char* title, const std::string& note, const std::string& body)
{
    std::string out = std::string("<h2>") + escapeHtml(title) + "</h2>\n";
    if (!note.empty())
        out += "<p class=\"note\">" + escapeHtml(note) + "</p>\n";
    return out + body;
}

std::string noteHtml(const std::string& text) { return "<p class=\"note\">" + escapeHtml(text) + "</p>\n"; }

// The figures of the checkpoints as the grid's: per slope class, per point
// class, NVA and VVA.
std::string pointFiguresHtml(const CheckpointAssessment& a, const CheckpointClasses& classes)
{
    return noteHtml(POINT_SLOPE_CAPTION) + tableHtml(slopeTable(a.report)) + noteHtml(POINT_CLASS_CAPTION) +
           tableHtml(pointClassTable(a)) + noteHtml(VERTICAL_ACCURACY_CAPTION) +
           tableHtml(verticalAccuracyTable(a, classes));
}

std::string gridSectionsHtml(const AccuracyDocument& doc)
{
    std::string summary = tableHtml(summaryTable(doc));
    if (doc.shift)
        summary += tableHtml(shiftTable(*doc.shift));
    std::string out = section(SUMMARY_SECTION, "", summary);
    if (doc.stable)
        out += section(STABLE_SECTION, stableNote(doc), tableHtml(stableTerrainTable(*doc.stable)));
    out += section(MAPS_SECTION, mapsNote(doc), pictureRowsHtml(mapPictures(doc)));
    out += section(VIEW_SECTION, viewNote(doc), picturesHtml(viewPictures(doc)));
    out += section(DISTRIBUTION_SECTION, distributionNote(doc), picturesHtml(distributionPictures(doc)));
    std::string slope = tableHtml(slopeTable(doc.before));
    if (doc.shift)
        slope += noteHtml("After the shift:") + tableHtml(slopeTable(doc.after));
    out += section(SLOPE_SECTION, slopeNote(doc), slope + picturesHtml(slopePictures(doc)));
    if (doc.shift)
        out += section(FIT_SECTION, fitNote(doc), picturesHtml(fitPictures(doc)));
    return out;
}

std::string checkpointSectionsHtml(const AccuracyDocument& doc)
{
    const CheckpointFacts& f = *doc.checkpoints;
    std::string out =
        section(CHECKPOINTS_SECTION, checkpointsNote(f),
                tableHtml(checkpointCountsTable(f)) + pointFiguresHtml(f.before, f.classes) +
                    noteHtml(checkpointPicturesNote(f, doc.unit)) + picturesHtml(checkpointPictures(doc)));
    if (f.shift)
        out += section(POINT_SHIFT_SECTION, pointShiftNote(f, doc.fitSample),
                       tableHtml(shiftTable(*f.shift)) + noteHtml("After the shift:") +
                           pointFiguresHtml(f.after, f.classes) + picturesHtml(pointFitPictures(doc)));
    return out;
}

} // namespace

std::string escapeHtml(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string base64(const std::vector<unsigned char>& bytes)
{
    const char* const digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += digits[v >> 6 & 63];
        out += digits[v & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = bytes[i] << 16;
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8;
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += digits[v >> 6 & 63];
        out += '=';
    }
    return out;
}

std::string htmlPage(const AccuracyDocument& doc)
{
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      escapeHtml(std::string(REPORT_TITLE) + ": " + (doc.files.empty() ? "" : doc.files[0].path)) +
                      "</title>\n<style>" + STYLE + "</style>\n</head>\n<body>\n";
    out += std::string("<h1>") + REPORT_TITLE + "</h1>\n<p class=\"note\">" + escapeHtml(madeByLine(doc)) + "</p>\n";
    out += section(FILES_SECTION, "", tableHtml(filesTable(doc), "files"));
    if (doc.hasComparison)
        out += gridSectionsHtml(doc);
    if (doc.checkpoints)
        out += checkpointSectionsHtml(doc);
    if (doc.hasComparison)
        out += section(STATISTICS_SECTION, "", "<pre>" + escapeHtml(doc.statisticsText) + "</pre>\n");
    return out + "</body>\n</html>\n";
}

} // namespace orolith::report
