#pragma once
// The document: everything that a document file keeps and the view shows. One owner holds it;
// the graph list widget shows it and never holds it.

#include "view/view_state.h"

#include <string>

struct TDocument {
    ViewState View;
    std::string DocumentFileName; ///< empty until the document is saved or opened
};
