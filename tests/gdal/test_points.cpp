// Checkpoints read through GDAL's vector library: CSV tables with either
// delimiter and named columns, a GeoPackage layer, points in another
// coordinate system, and the refusals that name the line and column.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <fstream>

#include "model/gdal/gdalpoints.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;

namespace {

TEST(PointFiles, TablesWithEachDelimiterAndNamedColumns)
{
    ScratchDir dir;
    struct {
        const char* name;
        std::string text;
        PointColumns columns;
    } cases[] = {
        {"comma.csv", "x,y,z,class\n500010.5,9100020.25,12.5,ground\n500030,9100040,-3.75,forest\n", {}},
        {"semicolon.csv", "X;Y;Z;CLASS\n500010.5;9100020.25;12.5;ground\n500030;9100040;-3.75;forest\n", {}},
        {"tab.tsv", "x\ty\tz\tclass\n500010.5\t9100020.25\t12.5\tground\n500030\t9100040\t-3.75\tforest\n", {}},
        {"named.csv",
         "east,north,height,kind\n500010.5,9100020.25,12.5,ground\n500030,9100040,-3.75,forest\n",
         {"east", "north", "height", "kind"}},
    };
    for (const auto& k : cases) {
        PointSource source;
        source.path = dir.write(k.name, k.text);
        source.columns = k.columns;
        std::vector<Checkpoint> points;
        std::string error;
        ASSERT_TRUE(readPointFile(source, points, error)) << k.name << ": " << error;
        ASSERT_EQ(points.size(), 2u) << k.name;
        EXPECT_DOUBLE_EQ(points[0].x, 500010.5) << k.name;
        EXPECT_DOUBLE_EQ(points[0].y, 9100020.25) << k.name;
        EXPECT_DOUBLE_EQ(points[0].z, 12.5) << k.name;
        EXPECT_EQ(points[0].pointClass, "ground") << k.name;
        EXPECT_DOUBLE_EQ(points[1].z, -3.75) << k.name << ": heights below 0 are heights";
        EXPECT_EQ(points[1].pointClass, "forest") << k.name;
    }
}

TEST(PointFiles, RefusalsNameTheLineAndColumn)
{
    ScratchDir dir;
    struct {
        const char* name;
        std::string text;
        std::string says;
    } cases[] = {
        {"missing.csv", "x,y,class\n1,2,a\n", "has no column \"z\""},
        {"text.csv", "x,y,z\n1,2,3\n4,5,6\n7,eight,9\n", "line 4, column \"y\": \"eight\" is not a number"},
        {"empty.csv", "x,y,z\n1,2,\n", "line 2, column \"z\""},
    };
    for (const auto& k : cases) {
        PointSource source;
        source.path = dir.write(k.name, k.text);
        std::vector<Checkpoint> points;
        std::string error;
        EXPECT_FALSE(readPointFile(source, points, error)) << k.name;
        EXPECT_NE(error.find(k.says), std::string::npos) << k.name << ": " << error;
        EXPECT_TRUE(points.empty()) << k.name;
    }
}

TEST(PointFiles, GeoPackageLayerAndPointsInAnotherSystem)
{
    GDALAllRegister();
    ScratchDir dir;
    const std::string gpkg = dir.path + "/points.gpkg";
    {
        GDALDriverH driver = GDALGetDriverByName("GPKG");
        ASSERT_NE(driver, nullptr);
        GDALDatasetH ds = GDALCreate(driver, gpkg.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
        OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(wgs84, 4326);
        OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
        OGRLayerH layer = GDALDatasetCreateLayer(ds, "checkpoints", wgs84, wkbPoint25D, nullptr);
        OGRFieldDefnH kind = OGR_Fld_Create("class", OFTString);
        OGR_L_CreateField(layer, kind, TRUE);
        OGR_Fld_Destroy(kind);
        OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGRGeometryH p = OGR_G_CreateGeometry(wkbPoint25D);
        OGR_G_SetPoint(p, 0, -34.85, -7.99, 42.0); // longitude, latitude, height
        OGR_F_SetGeometryDirectly(f, p);
        OGR_F_SetFieldString(f, 0, "ground");
        ASSERT_EQ(OGR_L_CreateFeature(layer, f), OGRERR_NONE);
        OGR_F_Destroy(f);
        OSRDestroySpatialReference(wgs84);
        GDALClose(ds);
    }
    // UTM zone 25 south, as the real DEM beside the project is.
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, 32725);
    char* wkt = nullptr;
    OSRExportToWkt(utm, &wkt);
    PointSource source;
    source.path = gpkg;
    source.demWkt = wkt;
    CPLFree(wkt);
    OSRDestroySpatialReference(utm);
    std::vector<Checkpoint> points;
    std::string error;
    ASSERT_TRUE(readPointFile(source, points, error)) << error;
    ASSERT_EQ(points.size(), 1u);
    // -34.85, -7.99 in UTM 25 S (central meridian -33): about 296,000 E,
    // 9,116,500 N.
    EXPECT_NEAR(points[0].x, 296000, 1500);
    EXPECT_NEAR(points[0].y, 9116500, 1500);
    EXPECT_DOUBLE_EQ(points[0].z, 42.0) << "the height from the geometry";
    EXPECT_EQ(points[0].pointClass, "ground");

    // The same point in a table with its system named.
    PointSource table;
    table.path = dir.write("lonlat.csv", "x,y,z\n-34.85,-7.99,42\n");
    table.pointsCrs = "EPSG:4326";
    table.demWkt = source.demWkt;
    std::vector<Checkpoint> fromTable;
    ASSERT_TRUE(readPointFile(table, fromTable, error)) << error;
    ASSERT_EQ(fromTable.size(), 1u);
    EXPECT_NEAR(fromTable[0].x, points[0].x, 1e-6);
    EXPECT_NEAR(fromTable[0].y, points[0].y, 1e-6);
}

} // namespace
