#pragma once
// The XML layer in one include: loading, navigation, node values, queries,
// node lists, transforms and the language filter.

#include "base/XmlLang.h"
#include "base/XmlLoad.h"
#include "base/XmlNavigate.h"
#include "base/XmlNodeList.h"
#include "base/XmlNodeValue.h"
#include "base/XmlSelect.h"
#include "base/XmlTransform.h"
