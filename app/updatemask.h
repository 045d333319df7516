#pragma once

// One bit per control that the two update routines can write: refreshDisplays
// looks at the line-edit bits, updateSliders at the slider bits. A set bit
// asks for the control to be rewritten from the load.
namespace UpdateMask {

enum : unsigned {
    LineEditR = 0x1,
    LineEditX = 0x2,
    LineEditG = 0x4,
    LineEditB = 0x8,
    LineEditRP = 0x10,
    LineEditXP = 0x20,
    LineEditRS = 0x40,
    LineEditXS = 0x80,
    LineEditGammaR = 0x100,
    LineEditGammaI = 0x200,
    LineEditGammaM = 0x400,
    LineEditGammaP = 0x800,
    LineEditZ0 = 0x1000,
    LineEditFrequency = 0x2000,
    AllLineEdits = 0x3FFF,
    SliderR = 0x20000,
    SliderX = 0x40000,
    SliderG = 0x80000,
    SliderB = 0x100000,
    SliderRP = 0x200000,
    SliderXP = 0x400000,
    SliderRS = 0x800000,
    SliderXS = 0x1000000,
    All = 0x7FFFFFF,
};

} // namespace UpdateMask
