#include <gtest/gtest.h>

#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

using namespace korvex;

TEST(Modicon, FromRegister) {
    struct Case {
        uint32_t reg;
        int32_t type;
        int32_t modicon;
    };
    for (const Case& c :
         {Case{1, RegisterType::Holding, 40001}, Case{9999, RegisterType::Holding, 49999},
          Case{10000, RegisterType::Holding, 410000}, Case{1, RegisterType::Coil1, 1},
          Case{1, RegisterType::Discrete, 10001}, Case{1, RegisterType::None, 1},
          Case{65535, RegisterType::Holding1, 465535}, Case{5, RegisterType::Input, 30005}, Case{3, 99, 3}})
        EXPECT_EQ(modicon_from_register(c.reg, c.type), c.modicon) << c.reg << " type " << c.type;
}

TEST(Modicon, ToRegister) {
    struct Case {
        int32_t modicon;
        int32_t typeBefore;
        uint16_t reg;
        int32_t typeAfter;
    };
    for (const Case& c : {Case{40001, RegisterType::None, 1, RegisterType::Holding},
                          Case{300001, RegisterType::None, 1, RegisterType::Input},
                          Case{65535, RegisterType::Holding, 65535, RegisterType::Coil},
                          Case{25000, RegisterType::Holding1, 5000, RegisterType::Holding1},
                          Case{12345, RegisterType::None, 2345, RegisterType::Discrete},
                          Case{1, RegisterType::Coil1, 1, RegisterType::Coil},
                          Case{700001, RegisterType::Input, 1, RegisterType::Input},
                          Case{-5, RegisterType::Input, 65531, RegisterType::Coil}}) {
        int32_t type = c.typeBefore;
        EXPECT_EQ(register_from_modicon(c.modicon, type), c.reg) << c.modicon;
        EXPECT_EQ(type, c.typeAfter) << c.modicon;
    }
}

TEST(Modicon, RoundTripsAroundTheThresholds) {
    for (uint32_t reg : {1u, 9999u, 10000u, 49999u, 50000u, 65535u}) {
        for (int32_t type : {RegisterType::Input, RegisterType::Holding}) {
            int32_t back = RegisterType::None;
            EXPECT_EQ(register_from_modicon(modicon_from_register(reg, type), back), reg) << reg;
            EXPECT_EQ(back, type) << reg;
        }
    }
    // Coil numbers 10000..49999 come back as discrete inputs: the notation cannot tell them apart.
    int32_t type = RegisterType::None;
    EXPECT_EQ(register_from_modicon(modicon_from_register(10000, RegisterType::Coil), type), 0);
    EXPECT_EQ(type, RegisterType::Discrete);
}

TEST(Modicon, Text) {
    EXPECT_EQ(modiconText(40001), "040001");
    EXPECT_EQ(modiconText(410000), "410000");
    EXPECT_EQ(modiconText(60000), "60000");
    EXPECT_EQ(modiconText(1), "000001");
    EXPECT_EQ(modiconText(49999), "049999");
    EXPECT_EQ(modiconText(50000), "50000");
}

TEST(Modicon, BitAndMask) {
    EXPECT_EQ(bit_from_mask(0x8), 4);
    EXPECT_EQ(bit_from_mask(0xC), 0);
    EXPECT_EQ(bit_from_mask(0), 0);
    EXPECT_EQ(bit_from_mask(0x80000000u), 32);
    EXPECT_EQ(mask_from_bit(0), 0u);
    EXPECT_EQ(mask_from_bit(1), 1u);
    EXPECT_EQ(mask_from_bit(32), 0x80000000u);
    EXPECT_EQ(mask_from_bit(33), 0u);
    for (uint32_t bit = 1; bit <= 32; ++bit) EXPECT_EQ(bit_from_mask(mask_from_bit(bit)), bit);
}
