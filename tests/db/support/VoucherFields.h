// The persistent fields of the two result data sets of the voucher change log (header rows
// of ACC_MAIN_TEMP and line rows of ACC_MAST_TEMP), as the query form carries them.
#pragma once
#include "db/ClientDataSet.h"

void AddHeaderFields(TComponent* owner, TClientDataSet* ds);
void AddLineFields(TComponent* owner, TClientDataSet* ds);
