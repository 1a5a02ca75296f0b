// The categories of the Category menu and their items.
#include "game/PracticeGame.h"

namespace gw {
namespace {

// Word list 1 (a word listed twice is twice as likely).
constexpr char16_t kW1[] =
    u"the to a in is it that he on are as I his at one this or hot other there an she their "
    u"then so these her see has no than too set three air here near earth state tree start "
    u"sea north ease those eat hear horse soon short area interest ten rain note star rest oh "
    u"street test ran hot heat tire east heart reason art sit store train sat root raise hair "
    u"either sense ear son nation stone iron tone rise sent noon hit rather thin tie enter "
    u"rose hat shoe nine noise shine nose season sister";
// Word list 2 (a word listed twice is twice as likely).
constexpr char16_t kW2[] =
    u"the to and a in is it that he on are as I his be at one this or had hot but can out "
    u"other there up use said an each she do their about then so these her thing see has go "
    u"did sound no than side been part get round good our under through just sentence great "
    u"turn cause right too does set three air end put read hand port add here big high such "
    u"act change need house picture us again point near earth head stand page sun state "
    u"thought tree cross hard start sea run press";
// Word list 3 (a word listed twice is twice as likely).
constexpr char16_t kW3[] =
    u"the of to a in is it that he was for on are with as I his they at one have this from or "
    u"hot what some we other were all there when how an she their time if will way many then "
    u"them write like so these her make see him two has look more no most my over know water "
    u"than first who may now any new work take live where after little only man year show "
    u"every me name very form think say low line mean move too same tell set three want air "
    u"well also small";
// Word list 4 (a word listed twice is twice as likely).
constexpr char16_t kW4[] =
    u"the of to and a in is it you that he was for on are with as I his they be at one have "
    u"this from or had by hot word but what some we can out other were all there when up use "
    u"your how said an each she which do their time if will way about many then them write "
    u"would like so these her long make thing see him two has look more day could go come did "
    u"number sound no most people my over know water than call first who may down side been "
    u"now find";
// Word list 5 (a word listed twice is twice as likely).
constexpr char16_t kW5[] =
    u"the of and to a in that is was he for it with as his on be at by i this had not are but "
    u"from or have an they which one you were her all she there would their we him been has "
    u"when who will more no if out so said what up its about into than them can only other "
    u"new some time could these two may then do first any my now such like our over man me "
    u"even most made after also did many before must through back years where much your way "
    u"well down should because each just those people how too little us state good very make "
    u"world still see own men work long here get both between life being under never day same "
    u"another know year while last might great old off come since go against came right "
    u"states used take three himself few house use during without again place around however "
    u"home small found thought went say part once high general upon school every does got "
    u"united left number course war until always away something fact water though less public "
    u"put think almost hand enough far took head yet government system set better told "
    u"nothing night end why called eyes find going look asked later point knew city next "
    u"program business give group toward days young let room president side social present "
    u"given several order national second possible rather per face among form important often "
    u"things looked early white john case become large need big four within felt children "
    u"along saw best church ever least power development thing light seemed family interest "
    u"want members others mind country area done turned although open god service problem "
    u"certain kind different thus began door help means sense whole matter perhaps itself "
    u"times law human line above name example action company hands local show whether five "
    u"history gave today either act feet across taken past quite anything seen having death "
    u"week experience body word half really field am car words already themselves information "
    u"tell together college shall money period held keep sure real probably free seems "
    u"political cannot behind miss question air office making brought whose special major "
    u"heard problems federal became study ago moment available known result street economic "
    u"boy position reason change south board individual job areas society west close turn "
    u"love community true court force food cost seem wife future age";

} // namespace

const std::array<GameCategory, kCategoryCount>& GameCategories() {
    static constexpr std::array<GameCategory, kCategoryCount> kCategories = {{
        {u"ANIHORTES", u"A N I H O R T E S"},
        {u"QUPBJDGC", u"Q U P B J D G C"},
        {u"VLXKBYWFZ", u"V L X K B Y W F Z"},
        {u"All Letters", u"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z"},
        {u"ANIHORTES Words", kW1},
        {u"ANI-QUP Words", kW2},
        {u"ANI-VLX Words", kW3},
        {u"100 Common Words", kW4},
        {u"400 Common Words", kW5},
    }};
    return kCategories;
}

} // namespace gw
