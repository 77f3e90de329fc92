// FileInfo/FileInfo_PC.dat, the catalog of the built-in files, in its full
// and its older layout, read when the first file of a run is prepared. The
// catalog that was read is saved, and reading it again gives the same rows.
#include "fuzz/CatalogTargets.h"

TESSARION_FUZZ_TARGET(catalog_pc, input)
{
    FuzzCatalogFile(kFuzzPcFile, input);
}
