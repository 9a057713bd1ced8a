#pragma once
// The XML layer in one include: loading, navigation, node values, queries,
// node lists, transforms and the language filter.

#include "base/xml/XmlLang.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNavigate.h"
#include "base/xml/XmlNodeList.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlSelect.h"
#include "base/xml/XmlTransform.h"
