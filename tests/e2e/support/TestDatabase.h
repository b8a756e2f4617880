// A small change-log database made by the test itself with the command-line SQL tool: a few
// vouchers with known rows, plus vouchers whose rows make the server fail while a result is
// fetched ("X-FAIL" in the line table, "Y-FAIL" in the header table: a computed column divides
// by zero for them).
#pragma once
#include <QString>

// Creates the database file `path`; returns an error text, empty on success.
QString MakeTestDatabase(const QString& path);
