#include "report/reportpdf.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "report/checkpointtables.h"
#include "report/names.h"
#include "report/reportpictures.h"
#include "report/reportsections.h"
#include "report/reporttables.h"

namespace orolith::report {

namespace {

// A4 in points, and its margins.
constexpr double PAGE_W = 595.276, PAGE_H = 841.89;
constexpr double MARGIN = 42;
constexpr double TEXT_W = PAGE_W - 2 * MARGIN;

// Lays out the report's flow of text, tables and pictures from the top of a
// page down, starting a new page when the next item does not fit.
class PageFlow {
public:
    explicit PageFlow(cairo_t* cr) : cr_(cr) {}

    void newPage()
    {
        if (used_)
            cairo_show_page(cr_);
        y_ = MARGIN;
        used_ = false;
    }
    // A section: on a new page unless this page is still empty.
    void heading(const std::string& text)
    {
        if (used_)
            newPage();
        textLine(text, "Sans Bold 14", TEXT_W);
        y_ += 6;
    }
    void title(const std::string& text) { textLine(text, "Sans Bold 20", TEXT_W), y_ += 4; }
    void paragraph(const std::string& text, const char* font = "Sans 8.5")
    {
        const double h = measure(text, font, TEXT_W);
        room(h);
        textLine(text, font, TEXT_W);
        y_ += 6;
    }
    // Monospace text that may run over several pages, broken between lines.
    void preformatted(const std::string& text)
    {
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t end = text.find('\n', begin);
            std::string line = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
            begin = end == std::string::npos ? text.size() : end + 1;
            const double h = measure(line.empty() ? " " : line, MONO, TEXT_W);
            room(h);
            textLine(line.empty() ? " " : line, MONO, TEXT_W);
        }
        y_ += 6;
    }
    void table(const Table& t, double fontSize = 7.5)
    {
        const std::string font = "Sans " + std::to_string(fontSize);
        const std::string bold = "Sans Bold " + std::to_string(fontSize);
        const std::size_t n = t.header.size();
        // Columns share the width in proportion to their longest text.
        std::vector<double> widths(n, 0);
        auto widen = [&](const std::vector<std::string>& row, const std::string& f) {
            for (std::size_t k = 0; k < n && k < row.size(); ++k)
                widths[k] = std::max(widths[k], naturalWidth(row[k], f) + 6);
        };
        widen(t.header, bold);
        for (const auto& row : t.rows)
            widen(row, font);
        // Too wide for the page: the widest columns give up width, down to
        // a common width, so that short columns (numbers, kinds) stay whole.
        double total = 0;
        for (double w : widths)
            total += w;
        if (total > TEXT_W) {
            std::vector<double> sorted = widths;
            std::sort(sorted.begin(), sorted.end());
            double fixed = 0, cap = TEXT_W;
            for (std::size_t k = 0; k < sorted.size(); ++k) {
                const double share = (TEXT_W - fixed) / (sorted.size() - k);
                if (sorted[k] > share) {
                    cap = share;
                    break;
                }
                fixed += sorted[k];
            }
            for (double& w : widths)
                w = std::min(w, cap);
        }
        auto row = [&](const std::vector<std::string>& cells, const std::string& f, bool shade) {
            double h = 0;
            for (std::size_t k = 0; k < n && k < cells.size(); ++k)
                h = std::max(h, measure(cells[k], f, widths[k] - 6));
            h += 4;
            room(h);
            double x = MARGIN;
            for (std::size_t k = 0; k < n; ++k) {
                cairo_rectangle(cr_, x, y_, widths[k], h);
                cairo_set_source_rgb(cr_, shade ? 0.93 : 1, shade ? 0.93 : 1, shade ? 0.93 : 1);
                cairo_fill_preserve(cr_);
                cairo_set_source_rgb(cr_, 0.75, 0.75, 0.75);
                cairo_set_line_width(cr_, 0.5);
                cairo_stroke(cr_);
                if (k < cells.size())
                    place(cells[k], f, x + 3, y_ + 2, widths[k] - 6);
                x += widths[k];
            }
            y_ += h;
        };
        row(t.header, bold, true);
        for (const auto& r : t.rows)
            row(r, font, false);
        y_ += 8;
        used_ = true;
    }
    // Pictures side by side, `columns` to the width, a short row centred.
    void pictureRow(const std::vector<Picture>& row, std::size_t columns)
    {
        const double gap = 12;
        const double width = (TEXT_W - gap * (columns - 1)) / columns;
        const double left = MARGIN + (columns - row.size()) * (width + gap) / 2;
        double h = 0;
        for (const Picture& p : row)
            h = std::max(h, width * p.aspect);
        room(h);
        for (std::size_t k = 0; k < row.size(); ++k) {
            cairo_save(cr_);
            row[k].draw(cr_, {left + k * (width + gap), y_, width, width * row[k].aspect});
            cairo_restore(cr_);
        }
        y_ += h + 8;
        used_ = true;
    }
    void picture(const Picture& p, double width = TEXT_W)
    {
        const double h = width * p.aspect;
        room(h);
        cairo_save(cr_);
        p.draw(cr_, {MARGIN + (TEXT_W - width) / 2, y_, width, h});
        cairo_restore(cr_);
        y_ += h + 8;
        used_ = true;
    }

private:
    // Small enough for the accuracy table's 132 columns on one line.
    static constexpr const char* MONO = "Monospace 5.6";
    cairo_t* cr_;
    double y_ = MARGIN;
    bool used_ = false;

    void room(double h)
    {
        if (used_ && y_ + h > PAGE_H - MARGIN)
            newPage();
    }
    PangoLayout* layout(const std::string& text, const std::string& font, double width) const
    {
        PangoLayout* l = pango_cairo_create_layout(cr_);
        PangoFontDescription* d = pango_font_description_from_string(font.c_str());
        pango_layout_set_font_description(l, d);
        pango_font_description_free(d);
        pango_layout_set_width(l, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(l, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_text(l, text.c_str(), -1);
        return l;
    }
    double measure(const std::string& text, const std::string& font, double width) const
    {
        PangoLayout* l = layout(text, font, width);
        int w = 0, h = 0;
        pango_layout_get_size(l, &w, &h);
        g_object_unref(l);
        return static_cast<double>(h) / PANGO_SCALE;
    }
    double naturalWidth(const std::string& text, const std::string& font) const
    {
        PangoLayout* l = layout(text, font, -1);
        pango_layout_set_width(l, -1);
        int w = 0, h = 0;
        pango_layout_get_size(l, &w, &h);
        g_object_unref(l);
        return static_cast<double>(w) / PANGO_SCALE;
    }
    void place(const std::string& text, const std::string& font, double x, double y, double width)
    {
        PangoLayout* l = layout(text, font, width);
        cairo_set_source_rgb(cr_, 0.1, 0.1, 0.1);
        cairo_move_to(cr_, x, y);
        pango_cairo_show_layout(cr_, l);
        g_object_unref(l);
    }
    void textLine(const std::string& text, const std::string& font, double width)
    {
        const double h = measure(text, font, width);
        room(h);
        place(text, font, MARGIN, y_, width);
        y_ += h;
        used_ = true;
    }
};

void pictures(PageFlow& flow, const std::vector<Picture>& list, double width = TEXT_W)
{
    for (const Picture& p : list)
        flow.picture(p, width);
}

void gridSections(PageFlow& flow, const AccuracyDocument& doc)
{
    flow.heading(MAPS_SECTION);
    flow.paragraph(mapsNote(doc));
    // Two maps a row: the differences before and after side by side.
    const std::vector<Picture> maps = mapPictures(doc);
    for (std::size_t k = 0; k < maps.size(); k += 2)
        flow.pictureRow(std::vector<Picture>(maps.begin() + k, maps.begin() + std::min(k + 2, maps.size())), 2);

    flow.heading(VIEW_SECTION);
    flow.paragraph(viewNote(doc));
    pictures(flow, viewPictures(doc));

    flow.heading(DISTRIBUTION_SECTION);
    flow.paragraph(distributionNote(doc));
    pictures(flow, distributionPictures(doc), TEXT_W * 0.9);

    flow.heading(SLOPE_SECTION);
    flow.paragraph(slopeNote(doc));
    flow.table(slopeTable(doc.before), 6.5);
    if (doc.shift) {
        flow.paragraph("After the shift:");
        flow.table(slopeTable(doc.after), 6.5);
    }
    pictures(flow, slopePictures(doc));

    if (doc.shift) {
        flow.heading(FIT_SECTION);
        flow.paragraph(fitNote(doc));
        pictures(flow, fitPictures(doc), TEXT_W * 0.9);
    }
}

void pointFigures(PageFlow& flow, const CheckpointAssessment& a, const CheckpointClasses& classes)
{
    flow.paragraph(POINT_SLOPE_CAPTION);
    flow.table(slopeTable(a.report), 6.5);
    flow.paragraph(POINT_CLASS_CAPTION);
    flow.table(pointClassTable(a), 6.5);
    flow.paragraph(VERTICAL_ACCURACY_CAPTION);
    flow.table(verticalAccuracyTable(a, classes), 7.5);
}

void checkpointSections(PageFlow& flow, const AccuracyDocument& doc)
{
    const CheckpointFacts& f = *doc.checkpoints;
    flow.heading(CHECKPOINTS_SECTION);
    flow.paragraph(checkpointsNote(f));
    flow.table(checkpointCountsTable(f), 8);
    pointFigures(flow, f.before, f.classes);
    flow.paragraph(checkpointPicturesNote(f, doc.unit));
    pictures(flow, checkpointPictures(doc), TEXT_W * 0.9);
    if (f.shift) {
        flow.heading(POINT_SHIFT_SECTION);
        flow.paragraph(pointShiftNote(f, doc.fitSample));
        flow.table(shiftTable(*f.shift), 8);
        flow.paragraph("After the shift:");
        pointFigures(flow, f.after, f.classes);
        pictures(flow, pointFitPictures(doc), TEXT_W * 0.9);
    }
}

} // namespace

bool writePdf(const AccuracyDocument& doc, const std::string& path, std::string& error)
{
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), PAGE_W, PAGE_H);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, REPORT_TITLE);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, ("Orolith " + doc.version).c_str());
    cairo_t* cr = cairo_create(surface);
    {
        PageFlow flow(cr);
        flow.title(REPORT_TITLE);
        flow.paragraph(madeByLine(doc));
        flow.paragraph(FILES_SECTION, "Sans Bold 12");
        flow.table(filesTable(doc), 7);
        if (doc.hasComparison) {
            flow.paragraph(SUMMARY_SECTION, "Sans Bold 12");
            flow.table(summaryTable(doc), 8);
            if (doc.shift)
                flow.table(shiftTable(*doc.shift), 8);
            // The rules belong with the figures they chose the points of.
            if (doc.stable) {
                flow.paragraph(STABLE_SECTION, "Sans Bold 12");
                flow.paragraph(stableNote(doc));
                flow.table(stableTerrainTable(*doc.stable), 8);
            }
            gridSections(flow, doc);
        }
        if (doc.checkpoints)
            checkpointSections(flow, doc);
        if (doc.hasComparison) {
            flow.heading(STATISTICS_SECTION);
            flow.preformatted(doc.statisticsText);
        }
    }
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "Cannot write the PDF \"" + path + "\": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

} // namespace orolith::report
