#include "form/form1layout.h"

namespace resipa {

namespace {

using enum ControlKind;

constexpr FontRecord kDefault{};
constexpr FontRecord kTahoma{"Tahoma", 8.25, true};
constexpr FontRecord kTahomaLarge{"Tahoma", 9.75, true};
constexpr FontRecord kArial{"Arial", 9.75, true};
constexpr FontRecord kArialLarge{"Arial", 11.25, true};

constexpr int kMaroon = 0x800000;
constexpr int kRed = 0xFF0000;
constexpr int kBlue = 0x0000FF;
constexpr int kDarkBlue = 0x0000C0;
constexpr int kSilver = 0xC0C0C0;
constexpr int kLightGrey = 0xE0E0E0;
constexpr int kWhite = 0xFFFFFF;

constexpr ControlRecord kForm1Layout[] = {
    {TextField, "txtPimp", "", 8115, 4860, 4125, 330, 32, kDefault},
    {TextField, "txtANB", "", 8115, 4245, 4125, 330, 30, kDefault},
    {TextField, "txtAcc", "", 8115, 3600, 4125, 330, 28, kDefault},
    {TextField, "txtNBank", "", 8115, 2970, 4125, 330, 26, kDefault},
    {TextField, "txtAl", "", 8115, 2385, 4125, 330, 24, kDefault},
    {TextField, "txtDesc", "", 8115, 1320, 4125, 735, 22, kDefault, kNoColour, 1, MultiLine},
    {TextField, "txtNPer", "", 8115, 705, 4125, 330, 20, kDefault},
    {Button, "Command3", "Preview", 2970, 5760, 1470, 630, 8, kDefault},
    {Button, "Command2", "Clear", 4515, 5760, 1470, 630, 9, kDefault},
    {Button, "Command1", "Keluar", 6060, 5760, 1740, 630, 10, kDefault},
    {TextField, "txtNomor", "", 5070, 390, 2400, 330, 2, kTahoma},
    {TextField, "txtKet", "", 2100, 3150, 5340, 630, 7, kTahoma, kNoColour, 1, MultiLine},
    {TextField, "txtBilang", "", 2100, 2280, 5355, 690, 6, kTahoma, kRed, 1, MultiLine | ReadOnly},
    {TextField, "txtJml", "0", 2100, 1770, 2160, 360, 5, kTahomaLarge, kNoColour, 1, RightAligned},
    {TextField, "txtPen", "", 2100, 1305, 3585, 360, 4, kTahoma},
    {TextField, "txtTempat", "", 2100, 840, 3585, 360, 3, kTahoma},
    {DatePicker, "Tgl", "", 2100, 390, 1395, 315, 1, kTahoma},
    {Label, "Label16", "Nama Pimpinan", 8130, 4635, 1110, 195, 31, kDefault, kNoColour, 1,
     AutoSize},
    {Label, "Label15", "Atas Nama Bank", 8130, 4005, 1200, 195, 29, kDefault, kNoColour, 1,
     AutoSize},
    {Label, "Label14", "Acc. Bank", 8130, 3375, 750, 195, 27, kDefault, kNoColour, 1, AutoSize},
    {Label, "Label13", "Nama Bank", 8130, 2745, 840, 195, 25, kDefault, kNoColour, 1, AutoSize},
    {Label, "Label12", "Alamat Perusahaan", 8130, 2160, 1380, 195, 23, kDefault, kNoColour, 1,
     AutoSize},
    {Label, "Label11", "Descipsi Perusahaan", 8130, 1095, 1500, 195, 21, kDefault, kNoColour, 1,
     AutoSize},
    {Label, "Label10", "Nama Perusahaan", 8130, 480, 1320, 195, 19, kDefault, kNoColour, 1,
     AutoSize},
    {Label, "Label9", "Kontak: resipa@example.com", 8025, 6180, 2685, 240, 18, kArial, kDarkBlue, 1,
     AutoSize},
    {Shape, "Shape1", "", 7965, 360, 4440, 5340, -1, kDefault, kSilver, 1},
    {Label, "Label8", "Tim Resipa - resipa.example", 8025, 5850, 3105, 270, 17, kArialLarge, kBlue,
     1, AutoSize},
    {Line, "Line4", "", 405, 195, 405, 5610, -1, kDefault, kWhite, 1},
    {Line, "Line3", "", 405, 195, 405, 5505, -1, kDefault, kLightGrey, 2},
    {Line, "Line2", "", 300, 5175, 7710, 5175, -1, kDefault, kWhite, 1},
    {Line, "Line1", "", 285, 5175, 7710, 5175, -1, kDefault, kSilver, 2},
    {Label, "Label7", "Nomor Resipa", 3675, 450, 1305, 195, 16, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label6", "Keterangan", 630, 3225, 990, 195, 15, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label5", "Terbilang", 630, 2385, 795, 195, 14, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label4", "Jumlah", 630, 1845, 615, 195, 13, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label3", "Nama Penerima", 630, 1365, 1335, 195, 12, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label2", "Kota", 630, 915, 390, 195, 11, kTahoma, kMaroon, 1, AutoSize},
    {Label, "Label1", "Tanggal", 630, 450, 675, 195, 0, kTahoma, kMaroon, 1, AutoSize},
};

} // namespace

std::span<const ControlRecord> form1Layout() {
    return kForm1Layout;
}

} // namespace resipa
