// The document: it holds no data; the object tree view owns the catalogue.
#pragma once
#include "framework/document.h"

class CPlenorDoc : public CDocument {};
