// Menu command ids, control ids and resource ids of the editor. Tests and
// the dispatch use these names; the numbers are fixed by the program's
// resources and must not change.
#pragma once

namespace tessel::ids {

// Main menu commands.
inline constexpr int OpenRom = 57601;
inline constexpr int CloseRom = 57602;
inline constexpr int SaveCurrentSprite = 57603;
inline constexpr int SaveAllSprites = 32774;
inline constexpr int Exit = 32775;
inline constexpr int Undo = 57643;
inline constexpr int Cut = 57635;
inline constexpr int Copy = 57634;
inline constexpr int Paste = 57637;
inline constexpr int Delete = 32783;
inline constexpr int HFlip = 32788;
inline constexpr int VFlip = 32789;
inline constexpr int PaletteEditor = 32790;
inline constexpr int ViewSpriteInfo = 32791;
inline constexpr int About = 32785;
inline constexpr int SysCommandAbout = 16;
// Art in and out (File and Edit menus).
inline constexpr int ExportSpritePng = 32800;
inline constexpr int ImportSpritePng = 32801;
inline constexpr int ExportSheet = 32802;
inline constexpr int ImportSheet = 32803;
inline constexpr int CreatePatch = 32804;
inline constexpr int CopyAsImage = 32805;
inline constexpr int PasteImage = 32806;
inline constexpr int RecoverEdits = 32850;
// Redo, the sprite's history and joined pencil strokes (Edit and Tools menus).
inline constexpr int Redo = 32840;
inline constexpr int History = 32841;
inline constexpr int JoinedPencilStrokes = 32842;
// The View menu: the Large View window and its grids.
inline constexpr int LargeView = 32830;
inline constexpr int PixelGrid = 32831;
inline constexpr int TileGrid = 32832;
// The View menu: the Sprite Overview and the jump to the sprite number box.
inline constexpr int SpriteOverview = 32870;
inline constexpr int GoToSprite = 32871;
// Patches applied (File menu).
inline constexpr int ApplyPatch = 32820;

// Writing the edits elsewhere (File menu).
inline constexpr int SaveCopyAs = 32860;

// A second ROM to compare with (File and Edit menus).
inline constexpr int CompareWith = 32890;
inline constexpr int TakeSpriteFromOther = 32891;
// Names and stars of sprites (Tools menu) and the animation preview (View menu).
inline constexpr int NameSprite = 32880;
inline constexpr int ToggleStar = 32881;
inline constexpr int ExportNames = 32882;
inline constexpr int ImportNames = 32883;
inline constexpr int Preview = 32884;
// The list of every key (Help menu).
inline constexpr int KeyboardShortcuts = 32900;

// Main window controls (dialog 102).
inline constexpr int ForegroundIndicator = 1002;
inline constexpr int BackgroundIndicator = 1003;
inline constexpr int FirstPaletteSwatch = 1004; // 1004..1019, colour index = id - 1004
inline constexpr int PreviousSprite = 1025;
inline constexpr int NextSprite = 1026;
inline constexpr int SaveSpriteButton = 1027;
inline constexpr int RefreshSpriteButton = 1028;
inline constexpr int SpriteNumberEdit = 1030;
inline constexpr int PencilButton = 1033;
inline constexpr int FloodFillButton = 1034;
inline constexpr int SelectButton = 1035;
inline constexpr int LineButton = 1036;
inline constexpr int RectangleButton = 1037;
inline constexpr int EllipseButton = 1038;
inline constexpr int LineSizeEdit = 1039;
inline constexpr int LineSizeSpin = 1040;
inline constexpr int FillCombo = 1041;
inline constexpr int ColourPickerButton = 1042;
inline constexpr int RoundRectButton = 1043;
inline constexpr int CurveRadiusEdit = 1044;
inline constexpr int CurveRadiusSpin = 1045;
inline constexpr int BrowserButton = 1061;
inline constexpr int HFlipButton = 1065;
inline constexpr int VFlipButton = 1066;
inline constexpr int TransparentCheck = 1067;
inline constexpr int LineSizeLabel = 1068;
inline constexpr int FillLabel = 1069;
inline constexpr int CurveRadiusLabel = 1070;

// The eight controls usable only while a ROM is open, in switching order.
inline constexpr int RomControls[8] = {PreviousSprite, NextSprite, SaveSpriteButton,
                                       RefreshSpriteButton, SpriteNumberEdit, BrowserButton,
                                       HFlipButton, VFlipButton};

// Dialog templates.
inline constexpr int AboutDialog = 100;
inline constexpr int MainDialog = 102;
inline constexpr int BrowserDialog = 148;
inline constexpr int PaletteEditorDialog = 176;
inline constexpr int SpriteInfoDialog = 181;
inline constexpr int MainMenu = 130;

// Icons.
inline constexpr int AppIcon = 128;
inline constexpr int FloodFillIcon = 140;
inline constexpr int PencilIcon = 141;
inline constexpr int EllipseIcon = 144;
inline constexpr int LineIcon = 145;
inline constexpr int RectangleIcon = 146;
inline constexpr int SelectIcon = 150;
inline constexpr int NextIcon = 153;
inline constexpr int PreviousIcon = 154;
inline constexpr int BrowserIcon = 155;
inline constexpr int HFlipIcon = 156;
inline constexpr int VFlipIcon = 157;
inline constexpr int RoundRectIcon = 159;
inline constexpr int ColourPickerIcon = 160;

// Menu item bitmaps.
inline constexpr int OpenRomBitmap = 162;
inline constexpr int UndoBitmap = 163;
inline constexpr int CutBitmap = 164;
inline constexpr int SaveAllBitmap = 165;
inline constexpr int SaveCurrentBitmap = 166;
inline constexpr int CopyBitmap = 168;
inline constexpr int PasteBitmap = 169;
inline constexpr int DeleteBitmap = 170;
inline constexpr int AboutBannerBitmap = 174;
inline constexpr int AboutBitmap = 175;
inline constexpr int PaletteEditorBitmap = 180;

// Cursors.
inline constexpr int PencilCursor = 131;
inline constexpr int ColourPickerCursor = 132;
inline constexpr int CrossHairCursor = 143;
inline constexpr int MoveCursor = 151;
inline constexpr int HandCursor = 152;
inline constexpr int FloodFillCursor = 161;
inline constexpr int ArrowCursor = 0; // the platform's standard arrow

} // namespace tessel::ids
