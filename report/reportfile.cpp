#include "report/reportfile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "report/names.h"
#include "report/reporthtml.h"
#include "report/reportjson.h"
#include "report/reportpdf.h"

namespace orolith::report {

namespace {

std::string lowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// A name in the same folder, so that the rename cannot cross file systems.
std::string temporaryBeside(const std::string& path) { return path + ".part" + std::to_string(::getpid()); }

} // namespace

bool reportFormatOf(const std::string& path, ReportFormat& format)
{
    const std::string ext = lowerExtension(path);
    if (ext == "html" || ext == "htm")
        format = ReportFormat::html;
    else if (ext == "pdf")
        format = ReportFormat::pdf;
    else
        return false;
    return true;
}

std::string jsonPathBeside(const std::string& reportPath)
{
    const std::size_t slash = reportPath.find_last_of('/');
    const std::size_t dot = reportPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return reportPath + ".json";
    return reportPath.substr(0, dot) + ".json";
}

bool writeAccuracyReport(const AccuracyDocument& doc, const std::string& path, std::string& error)
{
    ReportFormat format;
    if (!reportFormatOf(path, format)) {
        error = "The report's name must end in .html or .pdf: \"" + path + "\"";
        return false;
    }
    const std::string jsonPath = jsonPathBeside(path);
    const std::string partReport = temporaryBeside(path), partJson = temporaryBeside(jsonPath);
    bool written = true;
    if (format == ReportFormat::html)
        written = writeText(partReport, htmlPage(doc));
    else
        written = writePdf(doc, partReport, error);
    if (!written || !writeText(partJson, documentJson(doc))) {
        std::remove(partReport.c_str());
        std::remove(partJson.c_str());
        error = "Cannot write the report \"" + path + "\" and its numbers \"" + jsonPath + "\"" +
                (error.empty() ? "" : ": " + error);
        return false;
    }
    if (std::rename(partReport.c_str(), path.c_str()) != 0 || std::rename(partJson.c_str(), jsonPath.c_str()) != 0) {
        std::remove(partReport.c_str());
        std::remove(partJson.c_str());
        error = "Cannot put the report in place as \"" + path + "\"";
        return false;
    }
    return true;
}

} // namespace orolith::report
