// A full-text search file that reaches for its window: this must not compile.
#include "fulltext/FullTextService.h"
#include "fulltext/frmFullText.h"
