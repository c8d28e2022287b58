#include "under_wine.h"

bool UnderWine()
{
    return false;
}
