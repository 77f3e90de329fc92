// word_user/Title.dat, the titles of the user files, read with the catalog.
#include "fuzz/CatalogTargets.h"

TESSARION_FUZZ_TARGET(title, input)
{
    FuzzCatalogFile(kFuzzTitleFile, input);
}
