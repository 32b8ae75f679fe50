#include "core/symbol_fonts.h"

// Byte code → Unicode tables of the symbol fonts, and the Windows-1252 page.
// Wingdings and Webdings follow the Unicode 7.0 assignments of their
// pictographs; Symbol follows the Adobe Symbol encoding, with the bracket and
// integral pieces on their Unicode 3.2 characters. Codes a font leaves empty
// get a white rectangle, the box Windows shows for them.

namespace cardora {
namespace {

// Wingdings codes 32-255.
const char32_t kWingdingsToUnicode[224] = {
    0x0020, // 20 space
    0x1F589, // 21 lower left pencil
    0x2702, // 22 black scissors
    0x2701, // 23 upper blade scissors
    0x1F453, // 24 eyeglasses
    0x1F56D, // 25 ringing bell
    0x1F56E, // 26 book
    0x1F56F, // 27 candle
    0x1F57F, // 28 black touchtone telephone
    0x2706, // 29 telephone location sign
    0x1F582, // 2A back of envelope
    0x1F583, // 2B stamped envelope
    0x1F4EA, // 2C closed mailbox with lowered flag
    0x1F4EB, // 2D closed mailbox with raised flag
    0x1F4EC, // 2E open mailbox with raised flag
    0x1F4ED, // 2F open mailbox with lowered flag
    0x1F5C0, // 30 folder
    0x1F5C1, // 31 open folder
    0x1F5CE, // 32 document
    0x1F5CF, // 33 page
    0x1F5D0, // 34 pages
    0x1F5C4, // 35 file cabinet
    0x23F3, // 36 hourglass with flowing sand
    0x1F5AE, // 37 wired keyboard
    0x1F5B0, // 38 two button mouse
    0x1F5B2, // 39 trackball
    0x1F5B3, // 3A old personal computer
    0x1F5B4, // 3B hard disk
    0x1F5AB, // 3C white hard shell floppy disk
    0x1F5AC, // 3D soft shell floppy disk
    0x2707, // 3E tape drive
    0x270D, // 3F writing hand
    0x1F58E, // 40 left writing hand
    0x270C, // 41 victory hand
    0x1F58F, // 42 turned ok hand sign
    0x1F44D, // 43 thumbs up sign
    0x1F44E, // 44 thumbs down sign
    0x261C, // 45 white left pointing index
    0x261E, // 46 white right pointing index
    0x261D, // 47 white up pointing index
    0x1F597, // 48 white down pointing left hand index
    0x1F590, // 49 raised hand with fingers splayed
    0x263A, // 4A white smiling face
    0x1F610, // 4B neutral face
    0x2639, // 4C white frowning face
    0x1F4A3, // 4D bomb
    0x1F571, // 4E black skull and crossbones
    0x1F3F3, // 4F waving white flag
    0x1F3F1, // 50 white pennant
    0x2708, // 51 airplane
    0x263C, // 52 white sun with rays
    0x1F322, // 53 black droplet
    0x2744, // 54 snowflake
    0x1F546, // 55 white latin cross
    0x271E, // 56 shadowed white latin cross
    0x1F548, // 57 celtic cross
    0x2720, // 58 maltese cross
    0x2721, // 59 star of david
    0x262A, // 5A star and crescent
    0x262F, // 5B yin yang
    0x1F549, // 5C om symbol
    0x2638, // 5D wheel of dharma
    0x2648, // 5E aries
    0x2649, // 5F taurus
    0x264A, // 60 gemini
    0x264B, // 61 cancer
    0x264C, // 62 leo
    0x264D, // 63 virgo
    0x264E, // 64 libra
    0x264F, // 65 scorpius
    0x2650, // 66 sagittarius
    0x2651, // 67 capricorn
    0x2652, // 68 aquarius
    0x2653, // 69 pisces
    0x1F670, // 6A script ligature et ornament
    0x1F675, // 6B swash ampersand ornament
    0x26AB, // 6C medium black circle
    0x1F53E, // 6D lower right shadowed white circle
    0x25FC, // 6E black medium square
    0x1F78F, // 6F medium white square
    0x1F790, // 70 bold white square
    0x2751, // 71 lower right shadowed white square
    0x2752, // 72 upper right shadowed white square
    0x1F79F, // 73 black medium small lozenge
    0x29EB, // 74 black lozenge
    0x25C6, // 75 black diamond
    0x2756, // 76 black diamond minus white x
    0x1F799, // 77 black medium small diamond
    0x2327, // 78 x in a rectangle box
    0x2BB9, // 79 up arrowhead in a rectangle box
    0x2318, // 7A place of interest sign
    0x1F3F5, // 7B rosette
    0x1F3F6, // 7C black rosette
    0x1F676, // 7D sans-serif heavy double turned comma quotation mark ornament
    0x1F677, // 7E sans-serif heavy double comma quotation mark ornament
    0x25AF, // 7F white vertical rectangle (stand-in)
    0x1F10B, // 80 dingbat circled sans-serif digit zero
    0x2780, // 81 dingbat circled sans-serif digit one
    0x2781, // 82 dingbat circled sans-serif digit two
    0x2782, // 83 dingbat circled sans-serif digit three
    0x2783, // 84 dingbat circled sans-serif digit four
    0x2784, // 85 dingbat circled sans-serif digit five
    0x2785, // 86 dingbat circled sans-serif digit six
    0x2786, // 87 dingbat circled sans-serif digit seven
    0x2787, // 88 dingbat circled sans-serif digit eight
    0x2788, // 89 dingbat circled sans-serif digit nine
    0x2789, // 8A dingbat circled sans-serif number ten
    0x1F10C, // 8B dingbat negative circled sans-serif digit zero
    0x278A, // 8C dingbat negative circled sans-serif digit one
    0x278B, // 8D dingbat negative circled sans-serif digit two
    0x278C, // 8E dingbat negative circled sans-serif digit three
    0x278D, // 8F dingbat negative circled sans-serif digit four
    0x278E, // 90 dingbat negative circled sans-serif digit five
    0x278F, // 91 dingbat negative circled sans-serif digit six
    0x2790, // 92 dingbat negative circled sans-serif digit seven
    0x2791, // 93 dingbat negative circled sans-serif digit eight
    0x2792, // 94 dingbat negative circled sans-serif digit nine
    0x2793, // 95 dingbat negative circled sans-serif number ten
    0x1F662, // 96 north east pointing bud
    0x1F660, // 97 north west pointing bud
    0x1F661, // 98 south west pointing bud
    0x1F663, // 99 south east pointing bud
    0x1F65E, // 9A heavy north east pointing vine leaf
    0x1F65C, // 9B heavy north west pointing vine leaf
    0x1F65D, // 9C heavy south west pointing vine leaf
    0x1F65F, // 9D heavy south east pointing vine leaf
    0x2219, // 9E bullet operator
    0x2022, // 9F bullet
    0x2B1D, // A0 black very small square
    0x2B58, // A1 heavy circle
    0x1F786, // A2 bold white circle
    0x1F788, // A3 very heavy white circle
    0x1F78A, // A4 white circle containing black small circle
    0x1F78B, // A5 round target
    0x1F53F, // A6 upper right shadowed white circle
    0x25AA, // A7 black small square
    0x1F78E, // A8 light white square
    0x1F7C1, // A9 medium three pointed black star
    0x1F7C5, // AA medium four pointed black star
    0x2605, // AB black star
    0x1F7CB, // AC medium six pointed black star
    0x1F7CF, // AD heavy eight pointed black star
    0x1F7D3, // AE heavy twelve pointed black star
    0x1F7D1, // AF heavy eight pointed pinwheel star
    0x2BD0, // B0 square position indicator
    0x2316, // B1 position indicator
    0x2BCE, // B2 white four pointed cusp
    0x2BCF, // B3 rotated white four pointed cusp
    0x2BD1, // B4 uncertainty sign
    0x272A, // B5 circled white star
    0x2730, // B6 shadowed white star
    0x1F550, // B7 clock face one oclock
    0x1F551, // B8 clock face two oclock
    0x1F552, // B9 clock face three oclock
    0x1F553, // BA clock face four oclock
    0x1F554, // BB clock face five oclock
    0x1F555, // BC clock face six oclock
    0x1F556, // BD clock face seven oclock
    0x1F557, // BE clock face eight oclock
    0x1F558, // BF clock face nine oclock
    0x1F559, // C0 clock face ten oclock
    0x1F55A, // C1 clock face eleven oclock
    0x1F55B, // C2 clock face twelve oclock
    0x2BB0, // C3 ribbon arrow down left
    0x2BB1, // C4 ribbon arrow down right
    0x2BB2, // C5 ribbon arrow up left
    0x2BB3, // C6 ribbon arrow up right
    0x2BB4, // C7 ribbon arrow left up
    0x2BB5, // C8 ribbon arrow right up
    0x2BB6, // C9 ribbon arrow left down
    0x2BB7, // CA ribbon arrow right down
    0x1F66A, // CB solid quilt square ornament
    0x1F66B, // CC solid quilt square ornament in black square
    0x1F655, // CD turned south west pointing leaf
    0x1F654, // CE turned north west pointing leaf
    0x1F657, // CF turned south east pointing leaf
    0x1F656, // D0 turned north east pointing leaf
    0x1F650, // D1 north west pointing leaf
    0x1F651, // D2 south west pointing leaf
    0x1F652, // D3 north east pointing leaf
    0x1F653, // D4 south east pointing leaf
    0x232B, // D5 erase to the left
    0x2326, // D6 erase to the right
    0x2B98, // D7 three-d top-lighted leftwards equilateral arrowhead
    0x2B9A, // D8 three-d top-lighted rightwards equilateral arrowhead
    0x2B99, // D9 three-d right-lighted upwards equilateral arrowhead
    0x2B9B, // DA three-d left-lighted downwards equilateral arrowhead
    0x2B88, // DB leftwards black circled white arrow
    0x2B8A, // DC rightwards black circled white arrow
    0x2B89, // DD upwards black circled white arrow
    0x2B8B, // DE downwards black circled white arrow
    0x1F868, // DF wide-headed leftwards barb arrow
    0x1F86A, // E0 wide-headed rightwards barb arrow
    0x1F869, // E1 wide-headed upwards barb arrow
    0x1F86B, // E2 wide-headed downwards barb arrow
    0x1F86C, // E3 wide-headed north west barb arrow
    0x1F86D, // E4 wide-headed north east barb arrow
    0x1F86F, // E5 wide-headed south west barb arrow
    0x1F86E, // E6 wide-headed south east barb arrow
    0x1F878, // E7 wide-headed leftwards heavy barb arrow
    0x1F87A, // E8 wide-headed rightwards heavy barb arrow
    0x1F879, // E9 wide-headed upwards heavy barb arrow
    0x1F87B, // EA wide-headed downwards heavy barb arrow
    0x1F87C, // EB wide-headed north west heavy barb arrow
    0x1F87D, // EC wide-headed north east heavy barb arrow
    0x1F87F, // ED wide-headed south west heavy barb arrow
    0x1F87E, // EE wide-headed south east heavy barb arrow
    0x21E6, // EF leftwards white arrow
    0x21E8, // F0 rightwards white arrow
    0x21E7, // F1 upwards white arrow
    0x21E9, // F2 downwards white arrow
    0x2B04, // F3 left right white arrow
    0x21F3, // F4 up down white arrow
    0x2B01, // F5 north west white arrow
    0x2B00, // F6 north east white arrow
    0x2B03, // F7 south west white arrow
    0x2B02, // F8 south east white arrow
    0x1F8AC, // F9 white arrow shaft width one
    0x1F8AD, // FA white arrow shaft width two thirds
    0x1F5F6, // FB ballot bold script x
    0x2713, // FC check mark
    0x1F5F7, // FD ballot box with bold script x
    0x1F5F9, // FE ballot box with bold check
    0x229E, // FF squared plus (stand-in)
};

// Webdings codes 32-255.
const char32_t kWebdingsToUnicode[224] = {
    0x0020, // 20 space
    0x1F577, // 21 spider
    0x1F578, // 22 spider web
    0x1F572, // 23 no piracy
    0x1F576, // 24 dark sunglasses
    0x1F3C6, // 25 trophy
    0x1F396, // 26 military medal
    0x1F587, // 27 linked paperclips
    0x1F5E8, // 28 left speech bubble
    0x1F5E9, // 29 right speech bubble
    0x1F5F0, // 2A mood bubble
    0x1F5F1, // 2B lightning mood bubble
    0x1F336, // 2C hot pepper
    0x1F397, // 2D reminder ribbon
    0x1F67E, // 2E checker board
    0x1F67C, // 2F very heavy solidus
    0x1F5D5, // 30 minimize
    0x1F5D6, // 31 maximize
    0x1F5D7, // 32 overlap
    0x23F4, // 33 black medium left-pointing triangle
    0x23F5, // 34 black medium right-pointing triangle
    0x23F6, // 35 black medium up-pointing triangle
    0x23F7, // 36 black medium down-pointing triangle
    0x23EA, // 37 black left-pointing double triangle
    0x23E9, // 38 black right-pointing double triangle
    0x23EE, // 39 black left-pointing double triangle with vertical bar
    0x23ED, // 3A black right-pointing double triangle with vertical bar
    0x23F8, // 3B double vertical bar
    0x23F9, // 3C black square for stop
    0x23FA, // 3D black circle for record
    0x1F5DA, // 3E increase font size symbol
    0x1F5F3, // 3F ballot box with ballot
    0x1F6E0, // 40 hammer and wrench
    0x1F3D7, // 41 building construction
    0x1F3D8, // 42 house buildings
    0x1F3D9, // 43 cityscape
    0x1F3DA, // 44 derelict house building
    0x1F3DC, // 45 desert
    0x1F3ED, // 46 factory
    0x1F3DB, // 47 classical building
    0x1F3E0, // 48 house building
    0x1F3D6, // 49 beach with umbrella
    0x1F3DD, // 4A desert island
    0x1F6E3, // 4B motorway
    0x1F50D, // 4C left-pointing magnifying glass
    0x1F3D4, // 4D snow capped mountain
    0x1F441, // 4E eye
    0x1F442, // 4F ear
    0x1F3DE, // 50 national park
    0x1F3D5, // 51 camping
    0x1F6E4, // 52 railway track
    0x1F3DF, // 53 stadium
    0x1F6F3, // 54 passenger ship
    0x1F56C, // 55 bullhorn with sound waves
    0x1F56B, // 56 bullhorn
    0x1F568, // 57 right speaker
    0x1F508, // 58 speaker
    0x1F394, // 59 heart with tip on the left
    0x1F395, // 5A bouquet of flowers
    0x1F5EC, // 5B left thought bubble
    0x1F67D, // 5C very heavy reverse solidus
    0x1F5ED, // 5D right thought bubble
    0x1F5EA, // 5E two speech bubbles
    0x1F5EB, // 5F three speech bubbles
    0x2B94, // 60 four corner arrows circling anticlockwise
    0x2714, // 61 heavy check mark
    0x1F6B2, // 62 bicycle
    0x2B1C, // 63 white large square
    0x1F6E1, // 64 shield
    0x1F4E6, // 65 package
    0x1F6F1, // 66 oncoming fire engine
    0x2B1B, // 67 black large square
    0x1F691, // 68 ambulance
    0x1F6C8, // 69 circled information source
    0x1F6E9, // 6A small airplane
    0x1F6F0, // 6B satellite
    0x1F7C8, // 6C reverse light four pointed pinwheel star
    0x1F574, // 6D man in business suit levitating
    0x2B24, // 6E black large circle
    0x1F6E5, // 6F motor boat
    0x1F694, // 70 oncoming police car
    0x1F5D8, // 71 clockwise right and left semicircle arrows
    0x1F5D9, // 72 cancellation x
    0x2753, // 73 black question mark ornament
    0x1F6F2, // 74 diesel locomotive
    0x1F687, // 75 metro
    0x1F68D, // 76 oncoming bus
    0x26F3, // 77 flag in hole
    0x29B8, // 78 circled reverse solidus
    0x2296, // 79 circled minus
    0x1F6AD, // 7A no smoking symbol
    0x1F5EE, // 7B left anger bubble
    0x23D0, // 7C vertical line extension
    0x1F5EF, // 7D right anger bubble
    0x1F5F2, // 7E lightning mood
    0x25AF, // 7F white vertical rectangle (stand-in)
    0x1F6B9, // 80 mens symbol
    0x1F6BA, // 81 womens symbol
    0x1F6C9, // 82 boys symbol
    0x1F6CA, // 83 girls symbol
    0x1F6BC, // 84 baby symbol
    0x1F47D, // 85 extraterrestrial alien
    0x1F3CB, // 86 weight lifter
    0x26F7, // 87 skier
    0x1F3C2, // 88 snowboarder
    0x1F3CC, // 89 golfer
    0x1F3CA, // 8A swimmer
    0x1F3C4, // 8B surfer
    0x1F3CD, // 8C racing motorcycle
    0x1F3CE, // 8D racing car
    0x1F698, // 8E oncoming automobile
    0x1F5E0, // 8F stock chart
    0x1F6E2, // 90 oil drum
    0x1F4B0, // 91 money bag
    0x1F3F7, // 92 label
    0x1F4B3, // 93 credit card
    0x1F46A, // 94 family
    0x1F5E1, // 95 dagger knife
    0x1F5E2, // 96 lips
    0x1F5E3, // 97 speaking head in silhouette
    0x272F, // 98 pinwheel star
    0x1F584, // 99 envelope with lightning
    0x1F585, // 9A flying envelope
    0x1F583, // 9B stamped envelope
    0x1F586, // 9C pen over stamped envelope
    0x1F5B9, // 9D document with text
    0x1F5BA, // 9E document with text and picture
    0x1F5BB, // 9F document with picture
    0x1F575, // A0 sleuth or spy
    0x1F570, // A1 mantelpiece clock
    0x1F5BD, // A2 frame with tiles
    0x1F5BE, // A3 frame with an x
    0x1F4CB, // A4 clipboard
    0x1F5D2, // A5 spiral note pad
    0x1F5D3, // A6 spiral calendar pad
    0x1F56E, // A7 book
    0x1F4DA, // A8 books
    0x1F5DE, // A9 rolled-up newspaper
    0x1F5DF, // AA page with circled text
    0x1F5C3, // AB card file box
    0x1F5C2, // AC card index dividers
    0x1F5BC, // AD frame with picture
    0x1F3AD, // AE performing arts
    0x1F39C, // AF beamed ascending musical notes
    0x1F398, // B0 musical keyboard with jacks
    0x1F399, // B1 studio microphone
    0x1F3A7, // B2 headphone
    0x1F4BF, // B3 optical disc
    0x1F39E, // B4 film frames
    0x1F4F7, // B5 camera
    0x1F39F, // B6 admission tickets
    0x1F3AC, // B7 clapper board
    0x1F4FD, // B8 film projector
    0x1F4F9, // B9 video camera
    0x1F4FE, // BA portable stereo
    0x1F4FB, // BB radio
    0x1F39A, // BC level slider
    0x1F39B, // BD control knobs
    0x1F4FA, // BE television
    0x1F4BB, // BF personal computer
    0x1F5A5, // C0 desktop computer
    0x1F5A6, // C1 keyboard and mouse
    0x1F5A7, // C2 three networked computers
    0x1F579, // C3 joystick
    0x1F3AE, // C4 video game
    0x1F57B, // C5 left hand telephone receiver
    0x1F57C, // C6 telephone receiver with page
    0x1F4DF, // C7 pager
    0x1F581, // C8 clamshell mobile phone
    0x1F580, // C9 telephone on top of modem
    0x1F5A8, // CA printer
    0x1F5A9, // CB pocket calculator
    0x1F5BF, // CC black folder
    0x1F5AA, // CD black hard shell floppy disk
    0x1F5DC, // CE compression
    0x1F512, // CF lock
    0x1F513, // D0 open lock
    0x1F5DD, // D1 old key
    0x1F4E5, // D2 inbox tray
    0x1F4E4, // D3 outbox tray
    0x1F573, // D4 hole
    0x1F323, // D5 white sun
    0x1F324, // D6 white sun with small cloud
    0x1F325, // D7 white sun behind cloud
    0x1F326, // D8 white sun behind cloud with rain
    0x2601, // D9 cloud
    0x1F328, // DA cloud with snow
    0x1F327, // DB cloud with rain
    0x1F329, // DC cloud with lightning
    0x1F32A, // DD cloud with tornado
    0x1F32C, // DE wind blowing face
    0x1F32B, // DF fog
    0x1F31C, // E0 last quarter moon with face
    0x1F321, // E1 thermometer
    0x1F6CB, // E2 couch and lamp
    0x1F6CF, // E3 bed
    0x1F37D, // E4 fork and knife with plate
    0x1F378, // E5 cocktail glass
    0x1F6CE, // E6 bellhop bell
    0x1F6CD, // E7 shopping bags
    0x24C5, // E8 circled latin capital letter p
    0x267F, // E9 wheelchair symbol
    0x1F6C6, // EA triangle with rounded corners
    0x1F588, // EB black pushpin
    0x1F393, // EC graduation cap
    0x1F5E4, // ED three rays above
    0x1F5E5, // EE three rays below
    0x1F5E6, // EF three rays left
    0x1F5E7, // F0 three rays right
    0x1F6EA, // F1 northeast-pointing airplane
    0x1F43F, // F2 chipmunk
    0x1F426, // F3 bird
    0x1F41F, // F4 fish
    0x1F415, // F5 dog
    0x1F408, // F6 cat
    0x1F66C, // F7 leftwards rocket
    0x1F66E, // F8 rightwards rocket
    0x1F66D, // F9 upwards rocket
    0x1F66F, // FA downwards rocket
    0x1F5FA, // FB world map
    0x1F30D, // FC earth globe europe-africa
    0x1F30F, // FD earth globe asia-australia
    0x1F30E, // FE earth globe americas
    0x1F54A, // FF dove of peace
};

// Symbol codes 32-255.
const char32_t kSymbolToUnicode[224] = {
    0x0020, // 20 space
    0x0021, // 21 exclamation mark
    0x2200, // 22 for all
    0x0023, // 23 number sign
    0x2203, // 24 there exists
    0x0025, // 25 percent sign
    0x0026, // 26 ampersand
    0x220B, // 27 contains as member
    0x0028, // 28 left parenthesis
    0x0029, // 29 right parenthesis
    0x2217, // 2A asterisk operator
    0x002B, // 2B plus sign
    0x002C, // 2C comma
    0x2212, // 2D minus sign
    0x002E, // 2E full stop
    0x002F, // 2F solidus
    0x0030, // 30 digit zero
    0x0031, // 31 digit one
    0x0032, // 32 digit two
    0x0033, // 33 digit three
    0x0034, // 34 digit four
    0x0035, // 35 digit five
    0x0036, // 36 digit six
    0x0037, // 37 digit seven
    0x0038, // 38 digit eight
    0x0039, // 39 digit nine
    0x003A, // 3A colon
    0x003B, // 3B semicolon
    0x003C, // 3C less-than sign
    0x003D, // 3D equals sign
    0x003E, // 3E greater-than sign
    0x003F, // 3F question mark
    0x2245, // 40 approximately equal to
    0x0391, // 41 greek capital letter alpha
    0x0392, // 42 greek capital letter beta
    0x03A7, // 43 greek capital letter chi
    0x0394, // 44 greek capital letter delta
    0x0395, // 45 greek capital letter epsilon
    0x03A6, // 46 greek capital letter phi
    0x0393, // 47 greek capital letter gamma
    0x0397, // 48 greek capital letter eta
    0x0399, // 49 greek capital letter iota
    0x03D1, // 4A greek theta symbol
    0x039A, // 4B greek capital letter kappa
    0x039B, // 4C greek capital letter lamda
    0x039C, // 4D greek capital letter mu
    0x039D, // 4E greek capital letter nu
    0x039F, // 4F greek capital letter omicron
    0x03A0, // 50 greek capital letter pi
    0x0398, // 51 greek capital letter theta
    0x03A1, // 52 greek capital letter rho
    0x03A3, // 53 greek capital letter sigma
    0x03A4, // 54 greek capital letter tau
    0x03A5, // 55 greek capital letter upsilon
    0x03C2, // 56 greek small letter final sigma
    0x03A9, // 57 greek capital letter omega
    0x039E, // 58 greek capital letter xi
    0x03A8, // 59 greek capital letter psi
    0x0396, // 5A greek capital letter zeta
    0x005B, // 5B left square bracket
    0x2234, // 5C therefore
    0x005D, // 5D right square bracket
    0x22A5, // 5E up tack
    0x005F, // 5F low line
    0x203E, // 60 overline (stand-in)
    0x03B1, // 61 greek small letter alpha
    0x03B2, // 62 greek small letter beta
    0x03C7, // 63 greek small letter chi
    0x03B4, // 64 greek small letter delta
    0x03B5, // 65 greek small letter epsilon
    0x03C6, // 66 greek small letter phi
    0x03B3, // 67 greek small letter gamma
    0x03B7, // 68 greek small letter eta
    0x03B9, // 69 greek small letter iota
    0x03D5, // 6A greek phi symbol
    0x03BA, // 6B greek small letter kappa
    0x03BB, // 6C greek small letter lamda
    0x03BC, // 6D greek small letter mu
    0x03BD, // 6E greek small letter nu
    0x03BF, // 6F greek small letter omicron
    0x03C0, // 70 greek small letter pi
    0x03B8, // 71 greek small letter theta
    0x03C1, // 72 greek small letter rho
    0x03C3, // 73 greek small letter sigma
    0x03C4, // 74 greek small letter tau
    0x03C5, // 75 greek small letter upsilon
    0x03D6, // 76 greek pi symbol
    0x03C9, // 77 greek small letter omega
    0x03BE, // 78 greek small letter xi
    0x03C8, // 79 greek small letter psi
    0x03B6, // 7A greek small letter zeta
    0x007B, // 7B left curly bracket
    0x007C, // 7C vertical line
    0x007D, // 7D right curly bracket
    0x223C, // 7E tilde operator
    0x25AF, // 7F white vertical rectangle (stand-in)
    0x25AF, // 80 white vertical rectangle (stand-in)
    0x25AF, // 81 white vertical rectangle (stand-in)
    0x25AF, // 82 white vertical rectangle (stand-in)
    0x25AF, // 83 white vertical rectangle (stand-in)
    0x25AF, // 84 white vertical rectangle (stand-in)
    0x25AF, // 85 white vertical rectangle (stand-in)
    0x25AF, // 86 white vertical rectangle (stand-in)
    0x25AF, // 87 white vertical rectangle (stand-in)
    0x25AF, // 88 white vertical rectangle (stand-in)
    0x25AF, // 89 white vertical rectangle (stand-in)
    0x25AF, // 8A white vertical rectangle (stand-in)
    0x25AF, // 8B white vertical rectangle (stand-in)
    0x25AF, // 8C white vertical rectangle (stand-in)
    0x25AF, // 8D white vertical rectangle (stand-in)
    0x25AF, // 8E white vertical rectangle (stand-in)
    0x25AF, // 8F white vertical rectangle (stand-in)
    0x25AF, // 90 white vertical rectangle (stand-in)
    0x25AF, // 91 white vertical rectangle (stand-in)
    0x25AF, // 92 white vertical rectangle (stand-in)
    0x25AF, // 93 white vertical rectangle (stand-in)
    0x25AF, // 94 white vertical rectangle (stand-in)
    0x25AF, // 95 white vertical rectangle (stand-in)
    0x25AF, // 96 white vertical rectangle (stand-in)
    0x25AF, // 97 white vertical rectangle (stand-in)
    0x25AF, // 98 white vertical rectangle (stand-in)
    0x25AF, // 99 white vertical rectangle (stand-in)
    0x25AF, // 9A white vertical rectangle (stand-in)
    0x25AF, // 9B white vertical rectangle (stand-in)
    0x25AF, // 9C white vertical rectangle (stand-in)
    0x25AF, // 9D white vertical rectangle (stand-in)
    0x25AF, // 9E white vertical rectangle (stand-in)
    0x25AF, // 9F white vertical rectangle (stand-in)
    0x20AC, // A0 euro sign
    0x03D2, // A1 greek upsilon with hook symbol
    0x2032, // A2 prime
    0x2264, // A3 less-than or equal to
    0x2044, // A4 fraction slash
    0x221E, // A5 infinity
    0x0192, // A6 latin small letter f with hook
    0x2663, // A7 black club suit
    0x2666, // A8 black diamond suit
    0x2665, // A9 black heart suit
    0x2660, // AA black spade suit
    0x2194, // AB left right arrow
    0x2190, // AC leftwards arrow
    0x2191, // AD upwards arrow
    0x2192, // AE rightwards arrow
    0x2193, // AF downwards arrow
    0x00B0, // B0 degree sign
    0x00B1, // B1 plus-minus sign
    0x2033, // B2 double prime
    0x2265, // B3 greater-than or equal to
    0x00D7, // B4 multiplication sign
    0x221D, // B5 proportional to
    0x2202, // B6 partial differential
    0x2022, // B7 bullet
    0x00F7, // B8 division sign
    0x2260, // B9 not equal to
    0x2261, // BA identical to
    0x2248, // BB almost equal to
    0x2026, // BC horizontal ellipsis
    0x23D0, // BD vertical line extension
    0x23AF, // BE horizontal line extension
    0x21B5, // BF downwards arrow with corner leftwards
    0x2135, // C0 alef symbol
    0x2111, // C1 black-letter capital i
    0x211C, // C2 black-letter capital r
    0x2118, // C3 script capital p
    0x2297, // C4 circled times
    0x2295, // C5 circled plus
    0x2205, // C6 empty set
    0x2229, // C7 intersection
    0x222A, // C8 union
    0x2283, // C9 superset of
    0x2287, // CA superset of or equal to
    0x2284, // CB not a subset of
    0x2282, // CC subset of
    0x2286, // CD subset of or equal to
    0x2208, // CE element of
    0x2209, // CF not an element of
    0x2220, // D0 angle
    0x2207, // D1 nabla
    0x00AE, // D2 registered sign
    0x00A9, // D3 copyright sign
    0x2122, // D4 trade mark sign
    0x220F, // D5 n-ary product
    0x221A, // D6 square root
    0x22C5, // D7 dot operator
    0x00AC, // D8 not sign
    0x2227, // D9 logical and
    0x2228, // DA logical or
    0x21D4, // DB left right double arrow
    0x21D0, // DC leftwards double arrow
    0x21D1, // DD upwards double arrow
    0x21D2, // DE rightwards double arrow
    0x21D3, // DF downwards double arrow
    0x25CA, // E0 lozenge
    0x2329, // E1 left-pointing angle bracket
    0x00AE, // E2 registered sign
    0x00A9, // E3 copyright sign
    0x2122, // E4 trade mark sign
    0x2211, // E5 n-ary summation
    0x239B, // E6 left parenthesis upper hook
    0x239C, // E7 left parenthesis extension
    0x239D, // E8 left parenthesis lower hook
    0x23A1, // E9 left square bracket upper corner
    0x23A2, // EA left square bracket extension
    0x23A3, // EB left square bracket lower corner
    0x23A7, // EC left curly bracket upper hook
    0x23A8, // ED left curly bracket middle piece
    0x23A9, // EE left curly bracket lower hook
    0x23AA, // EF curly bracket extension
    0x1F34E, // F0 red apple (stand-in)
    0x232A, // F1 right-pointing angle bracket
    0x222B, // F2 integral
    0x2320, // F3 top half integral
    0x23AE, // F4 integral extension
    0x2321, // F5 bottom half integral
    0x239E, // F6 right parenthesis upper hook
    0x239F, // F7 right parenthesis extension
    0x23A0, // F8 right parenthesis lower hook
    0x23A4, // F9 right square bracket upper corner
    0x23A5, // FA right square bracket extension
    0x23A6, // FB right square bracket lower corner
    0x23AB, // FC right curly bracket upper hook
    0x23AC, // FD right curly bracket middle piece
    0x23AD, // FE right curly bracket lower hook
    0x25AF, // FF white vertical rectangle (stand-in)
};

// Windows-1252 characters of bytes 0x80–0x9F (0 = undefined byte).
const char16_t kWindows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

struct Similar {
    char32_t ch;
    char32_t alternatives[3];
};

// Look-alikes for characters a fallback font might lack.
const Similar kSimilar[] = {
    {0x23F3, {0x231B, 0x29D7, 0}},      // hourglass with flowing sand
    {0x1F597, {0x261F, 0x1F447, 0}},    // white down pointing left hand index
    {0x1F799, {0x2B29, 0x25C6, 0}},     // black medium small diamond
    {0x229E, {0x25A6, 0x25A3, 0}},      // Windows flag stand-in
    {0x1F34E, {0x1F34F, 0x25CF, 0}},    // apple
    {0x2329, {0x27E8, 0x3008, 0x003C}}, // angle brackets
    {0x232A, {0x27E9, 0x3009, 0x003E}},
    {0x203E, {0x00AF, 0x2014, 0}},      // radical extender
    {0x23D0, {0x2502, 0x007C, 0}},      // arrow extenders
    {0x23AF, {0x2500, 0x2014, 0}},
    {0x2044, {0x2215, 0x002F, 0}},      // fraction slash
    {0x25AF, {0x25A1, 0x2610, 0}},      // empty code box
    {0x2B24, {0x25CF, 0, 0}},
    {0x2B1B, {0x25A0, 0, 0}},
    {0x2B1C, {0x25A1, 0, 0}},
    {0x2B58, {0x25CB, 0, 0}},
};

const char32_t* TableOf(SymbolEncoding encoding)
{
    switch (encoding) {
    case SymbolEncoding::Wingdings: return kWingdingsToUnicode;
    case SymbolEncoding::Webdings: return kWebdingsToUnicode;
    case SymbolEncoding::Symbol: return kSymbolToUnicode;
    case SymbolEncoding::None: break;
    }
    return nullptr;
}

} // namespace

char32_t SymbolCodeToUnicode(SymbolEncoding encoding, int code)
{
    const char32_t* table = TableOf(encoding);
    if (!table || code < 32 || code > 255)
        return 0;
    return table[code - 32];
}

QList<char32_t> SimilarCharacters(char32_t ch)
{
    QList<char32_t> result;
    for (const Similar& s : kSimilar) {
        if (s.ch != ch)
            continue;
        for (char32_t alt : s.alternatives)
            if (alt && alt != ch)
                result.append(alt);
    }
    return result;
}

char32_t Windows1252Character(int code)
{
    if (code >= 0x80 && code <= 0x9F && kWindows1252High[code - 0x80])
        return kWindows1252High[code - 0x80];
    return char32_t(code);
}

int SymbolCodeOfCharacter(char32_t ch)
{
    if (ch <= 0xFF)
        return int(ch);
    if (ch >= 0xF020 && ch <= 0xF0FF)
        return int(ch - 0xF000);
    for (int i = 0; i < 32; ++i)
        if (kWindows1252High[i] && kWindows1252High[i] == ch)
            return 0x80 + i;
    return -1;
}

} // namespace cardora
