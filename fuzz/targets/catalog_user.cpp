// FileInfo/FileInfo_User.dat, the options of the eighteen user files, in its
// full and its older 7-line layout; read, saved and read again unchanged.
#include "fuzz/CatalogTargets.h"

TESSARION_FUZZ_TARGET(catalog_user, input)
{
    FuzzCatalogFile(kFuzzUserFile, input);
}
