; Velmora's "Send to friend" package: puzzles from a player's library, packed as fresh
; unsolved copies into one self-installing program that puts them into a friend's library.
;
; The game runs the compiler in this folder as
;   makensis -Dttt -DNox -DSEND -DOUT_FILE=<package> -DSRC_DIR=<game folder> -DTEXT_DIR=<game folder>/DATA Tavrel.nsi
; and packs every "*.pzl" it has copied into SRC_DIR/TEMP.
;   ttt       the installer's texts come from TEXT_DIR (Tavrel.txt, Tavrel-finish.txt)
;   Nox       the installer wears the colours of the Nox skin
;   SEND      the package of sent puzzles (the only package this script builds)

Unicode true

!ifndef SEND
  !error "Tavrel.nsi builds the package of sent puzzles only: define SEND"
!endif
!ifndef OUT_FILE
  !error "OUT_FILE names the package to build"
!endif
!ifndef SRC_DIR
  !error "SRC_DIR names the game folder whose TEMP holds the puzzles"
!endif
!ifdef ttt
  !ifndef TEXT_DIR
    !error "ttt takes the texts from TEXT_DIR"
  !endif
!endif

!include "MUI2.nsh"

Name "Velmora puzzles"
Caption "Velmora puzzles from a friend"
OutFile "${OUT_FILE}"
BrandingText "Velmora"
; The game's usual folder; the friend may choose the one the game is in.
InstallDir "$PROGRAMFILES\Quorvik\Velmora"
RequestExecutionLevel highest
SetCompressor /SOLID lzma
ShowInstDetails show

!ifdef Nox
  !define MUI_BGCOLOR 1E2A3A
  !define MUI_TEXTCOLOR F2E9D8
!endif
!define MUI_ABORTWARNING

!ifdef ttt
  !define /file PUZZLES_WELCOME "${TEXT_DIR}/Tavrel.txt"
  !define /file PUZZLES_FINISH "${TEXT_DIR}/Tavrel-finish.txt"
!else
  !define PUZZLES_WELCOME "A friend has sent you puzzles for Velmora. They will be added to your puzzle library."
  !define PUZZLES_FINISH "The puzzles are in your library. Start Velmora and open My puzzles to play them."
!endif

!define MUI_WELCOMEPAGE_TITLE "Puzzles from a friend"
!define MUI_WELCOMEPAGE_TEXT `${PUZZLES_WELCOME}`
!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "Choose the folder Velmora is installed in. The puzzles go into its Puzzles\simple folder."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "The puzzles are ready"
!define MUI_FINISHPAGE_TEXT `${PUZZLES_FINISH}`
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

Section "Puzzles"
  SetOutPath "$INSTDIR\Puzzles\simple"
  ; A puzzle of the same name in the friend's library is replaced by the one sent.
  SetOverwrite on
  File "${SRC_DIR}/TEMP/*.pzl"
SectionEnd
