#pragma once
// Files, folders and resources in one include.

#include "base/files/FileUtilsImage.h"
#include "base/files/FileUtilsLoad.h"
#include "base/files/FileUtilsNames.h"
#include "base/files/FileUtilsPath.h"
#include "base/files/FileUtilsRemove.h"
#include "base/files/ResourceBuffer.h"
