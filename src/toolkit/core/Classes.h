// Everything of the portable core in one include.
#pragma once

#include "Closure.h"
#include "Collection.h"
#include "Component.h"
#include "FormDescription.h"
#include "FormReader.h"
#include "FormWriter.h"
#include "Lists.h"
#include "Object.h"
#include "Persistent.h"
#include "Sets.h"
#include "Streams.h"
#include "Strings.h"
#include "SysUtils.h"
#include "TypInfo.h"
