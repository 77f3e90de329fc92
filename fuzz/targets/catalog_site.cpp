// FileInfo/FileInfo_SITE.dat, the server's catalog as it was downloaded:
// read, made the local catalog of a first start, merged into it; the saved
// catalog then reads back unchanged.
#include "fuzz/CatalogTargets.h"

TESSARION_FUZZ_TARGET(catalog_site, input)
{
    FuzzCatalogFile(kFuzzSiteFile, input);
}
