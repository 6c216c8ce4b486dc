#pragma once
// Resource ids of Tracewipe.exe's own resources; read by the resource compiler and the C++ code.
#define IDI_TRACEWIPE_SMALL 102
#define IDI_TRACEWIPE 103
