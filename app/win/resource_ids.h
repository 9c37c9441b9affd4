// Resource ids shared by the resource script and the code.
#pragma once

#define TAV_IDI_PROGRAM 1
