#pragma once

// Resource ids of the files the installer carries (RCDATA).
#define IDR_DATAMGR 101
#define IDR_HARDWIXSERVICE 102
