// The record file of the current learning file.
#include "engine/CommonUnit.h"

void TCC::LoadRecordFile()
{
    // Reading of the record file comes with the record work.
}
