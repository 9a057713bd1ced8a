#pragma once
// Files, folders and resources in one include.

#include "base/FileUtilsImage.h"
#include "base/FileUtilsLoad.h"
#include "base/FileUtilsNames.h"
#include "base/FileUtilsPath.h"
#include "base/FileUtilsRemove.h"
#include "base/ResourceBuffer.h"
