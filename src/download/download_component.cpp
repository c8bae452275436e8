#include "download/download_component.h"
