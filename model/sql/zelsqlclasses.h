#pragma once
/// \file

/// Registers the SQL data classes (TzelSQLDatabase, TzelSQLQuery) by name,
/// so that templates can name them; safe to call more than once.
void zelRegisterSqlClasses();
