// Residual files: a CSV table whose numbers read back exactly, with NaN
// empty and awkward classes quoted (read back by GDAL's own CSV reader); a
// GeoPackage layer in the DEM's system, or in GeoPackage's undefined
// Cartesian one; and failures that leave nothing.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "model/gdal/gdalresiduals.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string wktOf(int epsg)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    char* text = nullptr;
    OSRExportToWkt(srs, &text);
    std::string wkt = text;
    CPLFree(text);
    OSRDestroySpatialReference(srs);
    return wkt;
}

// Values whose shortest decimal forms are long, tiny, huge or negative.
std::vector<ResidualRow> awkwardRows()
{
    return {
        {296000.12345678901, 9116500.987654321, 0.1 + 0.2, 12.3456789012345, 1.0 / 3.0, 7.25, "ground"},
        {-1e-300, 1.7976931348623157e308, -0.0, NaN, NaN, NaN, "forest, dense"},
        {1, 2, 3, 4, -5.000000000000001, NaN, "say \"open\""},
        {5e-324, 123456789.125, -42, 0, 0, 0, ""},
    };
}

// The bits, so that -0.0 and 0.0 differ and NaN equals NaN.
bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

TEST(ResidualFiles, CsvNumbersReadBackExactlyNaNIsEmptyAndClassesAreQuoted)
{
    GDALAllRegister();
    ScratchDir dir;
    const std::string path = dir.path + "/residuals.csv";
    const std::vector<ResidualRow> rows = awkwardRows();
    std::string error;
    ASSERT_TRUE(writeResidualFile(path, rows, wktOf(32725), error)) << error;
    const std::string text = contentsOf(path);
    EXPECT_EQ(text.rfind("x,y,z,dem_height,d,slope,class\n", 0), 0u) << text;
    EXPECT_NE(text.find("\n-1e-300,1.7976931348623157e+308,-0,,,,\"forest, dense\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find(",\"say \"\"open\"\"\"\n"), std::string::npos) << text;

    // GDAL's CSV reader, every field as text: the table is read as any
    // other program would read it.
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(ds, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    ASSERT_EQ(OGR_L_GetFeatureCount(layer, TRUE), static_cast<GIntBig>(rows.size()));
    OGR_L_ResetReading(layer);
    for (const ResidualRow& want : rows) {
        OGRFeatureH f = OGR_L_GetNextFeature(layer);
        ASSERT_NE(f, nullptr);
        const double values[] = {want.x, want.y, want.z, want.demHeight, want.d, want.slope};
        for (int i = 0; i < 6; ++i) {
            const std::string field = OGR_F_GetFieldAsString(f, i);
            const double read = field.empty() ? NaN : std::strtod(field.c_str(), nullptr);
            EXPECT_TRUE(sameDouble(read, values[i])) << "\"" << field << "\" for " << values[i];
        }
        EXPECT_EQ(OGR_F_GetFieldAsString(f, 6), want.pointClass);
        OGR_F_Destroy(f);
    }
    GDALClose(ds);
}

TEST(ResidualFiles, GeoPackageLayerInTheDemsSystemReadsBack)
{
    GDALAllRegister();
    ScratchDir dir;
    struct {
        const char* name;
        std::string wkt;
    } cases[] = {{"UTM 25 S", wktOf(32725)}, {"no system", ""}};
    const std::vector<ResidualRow> rows = awkwardRows();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = dir.path + "/residuals.gpkg";
        std::string error;
        ASSERT_TRUE(writeResidualFile(path, rows, k.wkt, error)) << error;
        GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        ASSERT_NE(ds, nullptr);
        OGRLayerH layer = GDALDatasetGetLayerByName(ds, "residuals");
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), static_cast<GIntBig>(rows.size()));
        EXPECT_EQ(wkbFlatten(OGR_L_GetGeomType(layer)), wkbPoint);
        OGRSpatialReferenceH srs = OGR_L_GetSpatialRef(layer);
        ASSERT_NE(srs, nullptr);
        if (k.wkt.empty()) {
            EXPECT_TRUE(OSRIsLocal(srs)) << "not GeoPackage's undefined geographic system";
            EXPECT_STREQ(OSRGetName(srs), "Undefined Cartesian SRS");
        } else {
            EXPECT_STREQ(OSRGetAuthorityCode(srs, nullptr), "32725");
        }
        OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
        const char* names[] = {"x", "y", "z", "dem_height", "d", "slope", "class"};
        ASSERT_EQ(OGR_FD_GetFieldCount(defn), 7);
        for (int i = 0; i < 7; ++i) {
            OGRFieldDefnH field = OGR_FD_GetFieldDefn(defn, i);
            EXPECT_STREQ(OGR_Fld_GetNameRef(field), names[i]);
            EXPECT_EQ(OGR_Fld_GetType(field), i == 6 ? OFTString : OFTReal) << names[i];
        }
        OGR_L_ResetReading(layer);
        for (const ResidualRow& want : rows) {
            OGRFeatureH f = OGR_L_GetNextFeature(layer);
            ASSERT_NE(f, nullptr);
            OGRGeometryH g = OGR_F_GetGeometryRef(f);
            ASSERT_NE(g, nullptr);
            EXPECT_TRUE(sameDouble(OGR_G_GetX(g, 0), want.x));
            EXPECT_TRUE(sameDouble(OGR_G_GetY(g, 0), want.y));
            const double values[] = {want.x, want.y, want.z, want.demHeight, want.d, want.slope};
            for (int i = 0; i < 6; ++i)
                if (std::isnan(values[i]))
                    EXPECT_TRUE(OGR_F_IsFieldNull(f, i)) << names[i];
                else
                    EXPECT_EQ(OGR_F_GetFieldAsDouble(f, i), values[i]) << names[i];
            EXPECT_EQ(OGR_F_GetFieldAsString(f, 6), want.pointClass);
            OGR_F_Destroy(f);
        }
        GDALClose(ds);
    }
}

TEST(ResidualFiles, AnExistingFileIsReplacedWhole)
{
    ScratchDir dir;
    for (const char* name : {"old.csv", "old.gpkg"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.write(name, std::string(100000, 'x'));
        std::string error;
        ASSERT_TRUE(writeResidualFile(path, {{1, 2, 3, 4, 5, 6, "a"}}, "", error)) << error;
        EXPECT_EQ(contentsOf(path).find("xxxx"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    }
    EXPECT_EQ(contentsOf(dir.path + "/old.csv"), "x,y,z,dem_height,d,slope,class\n1,2,3,4,5,6,a\n");
}

TEST(ResidualFiles, FailuresLeaveNothingBehind)
{
    ScratchDir dir;
    const std::string plainFile = dir.write("plain", "a file, not a folder");
    std::filesystem::create_directory(dir.path + "/taken.csv");
    std::filesystem::create_directory(dir.path + "/taken.gpkg");
    dir.write("taken.csv/inside", "kept");
    dir.write("taken.gpkg/inside", "kept");
    struct {
        const char* name;
        std::string path;
        std::string says;
    } cases[] = {
        {"another extension", dir.path + "/residuals.txt", "the residuals file must end in .csv or .gpkg"},
        {"no extension", dir.path + "/residuals", "the residuals file must end in .csv or .gpkg"},
        {"a missing folder, CSV", dir.path + "/none/r.csv", "the residuals could not be written: "},
        {"a missing folder, GeoPackage", dir.path + "/none/r.gpkg", "the residuals could not be written: "},
        {"under a file", plainFile + "/r.csv", "the residuals could not be written: "},
        {"a folder of that name, CSV", dir.path + "/taken.csv", "the residuals could not be written: "},
        {"a folder of that name, GeoPackage", dir.path + "/taken.gpkg", "the residuals could not be written: "},
    };
    const std::vector<ResidualRow> rows = awkwardRows();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::string error;
        EXPECT_FALSE(writeResidualFile(k.path, rows, "", error));
        EXPECT_EQ(error.rfind("file \"" + k.path + "\": " + k.says, 0), 0u) << error;
    }
    // Only what was there before.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path))
        left.push_back(entry.path().lexically_relative(dir.path).string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{"plain", "taken.csv", "taken.csv/inside", "taken.gpkg", "taken.gpkg/inside"}));

    // A folder that cannot be written to (not for root, who writes anyway).
    const std::string locked = dir.path + "/locked";
    std::filesystem::create_directory(locked);
    chmod(locked.c_str(), 0555);
    if (access(locked.c_str(), W_OK) != 0)
        for (const char* name : {"r.csv", "r.gpkg"}) {
            std::string error;
            EXPECT_FALSE(writeResidualFile(locked + "/" + name, rows, "", error)) << name;
            EXPECT_TRUE(std::filesystem::is_empty(locked)) << name;
        }
    chmod(locked.c_str(), 0755);
}

} // namespace
