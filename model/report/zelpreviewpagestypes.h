#pragma once
/// \file

/// What AddPage does when output returns to a page that exists already.
enum TzelAddPageAction {
    apWriteOver, ///< keep writing on the existing page
    apAdd        ///< append a new page
};
