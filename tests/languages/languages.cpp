// The texts each language version must show. Strings 5 to 7 stay English except in Chinese.
#include "tests/languages/languages.h"

namespace languages {

const std::array<Language, 12> kLanguages{{
    {"en-US", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {L"You are in the middle of sound recording.\nPlease stop your recording before closing the player.", L"There is no CD-ROM in the player.", L"Do you want to clear the playlist?", L"The inserted CD-ROM is not an audio CD.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Track", L"Music", L"Sound", L"Record", L"EMPTY", L"Recording ..."}, {L"&Open", L"&About", L"&Exit"}, {L"About", L"MIDI Playlist", L"CD Playlist", L"Sound Playlist", L"Velutra Record", L"Properties"}},
    {"de-DE", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {L"Sie sind gerade beim Aufnehmen.\nBitte stoppen Sieihre Aufnahme bevor Sie den Player schliessen.", L"Es ist keine CD-ROM im Player.", L"Möchten Sie die Playliste löschen?", L"Die eingeführte CD-ROM ist keine Ton CD.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Track", L"Musik", L"Ton", L"Aufnahme", L"LEER", L"Aufnahme ..."}, {L"&Öffnen", L"&Über", L"&Fertig"}, {L"About", L"MIDI Playliste", L"CD Playliste", L"Ton Playliste", L"Velutra Aufnahme", L"Eigenschaften"}},
    {"fr-FR", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), {L"Vous êtes au milieu de l'enregistrement sonore.\nVeuillez arrêter votre enregistrement avant de fermer le lecteur.", L"Il n'y a pas de CD-ROM dans le lecteur.", L"Voulez vous effacer la liste de disques à programmer?", L"Le CD-ROM inséré n'est pas un CD sonore.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Morceau", L"Musique", L"Son ", L"Enregistrer", L"VIDE", L"Enregistrer ..."}, {L"&Ouvrir", L"&Au sujet de", L"&Sortir"}, {L"Au sujet de", L"Liste des pistes à programmer pour MIDI", L"Liste des pistes à programmer pour CD", L"Liste des pistes à programmer pour son", L"Velutra Enregistrer", L"Attributs"}},
    {"it-IT", MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), {L"La registrazione suono è in corso.\nPrima di chiudere il lettore interrompere la registrazione.", L"Il lettore non contiene un CD-ROM.", L"Cancellare l'elenco di riproduzione?", L"Il CD-ROM inserito non è un CD audio.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Pista", L"Musica", L"Suono", L"Registrazione", L"VUOTO", L"Registrazione ..."}, {L"&Apri", L"&Informazioni su", L"&Esci"}, {L"Informazioni su", L"Elenco riproduzione MIDI", L"Elenco riproduzione CD", L"Elenco riproduzione suoni", L"Registrazione Velutra", L"Proprietà"}},
    {"nl-NL", MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), {L"U bent bezig met de geluidsopname.\nAlstublieft ophouden met opnemen voordat U de speler dichtdoet.", L"Er is geen CD-ROM in de speler.", L"Wilt U de muzieklijst opheffen?", L"De ingeschoven CD-ROM is geen audio CD.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Track", L"Muziek", L"Geluid", L"Opnemen", L"Leeg", L"Opnemen ..."}, {L"&Open", L"O&ver", L"&Exit"}, {L"Betreffende", L"MIDI Muzieklijst", L"CD Muzieklijst", L"Muzieklijst geluid", L"Velutra Opnemen", L"Eigenschappen"}},
    {"es-ES", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), {L"Está Ud. en el medio de la grabación de sonido.\nPor favor pare la grabación antes de cerrar el reproductor.", L"No hay disco de CD-ROM en el reproductor.", L"¿Quiere eliminar todo la lista de reproducción?", L"El CD-ROM que ha introducido no es un CD audio.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Pista", L"Música", L"Sound", L"Grabación", L"VACIAR", L"Grabación ..."}, {L"&Abrir", L"A&cerca de", L"&Salir"}, {L"Acerca de", L"Lista de Reproducción de MIDI", L"Lista de reproducción de CD", L"Lista de Reproducción de Sound", L"Grabación de Velutra", L"Propiedades"}},
    {"pt-PT", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), {L"Você está processamdo uma gravação de som.\nFavor parar sua gravação antese de desligar o seu aparelho.", L"Não existe nenhum CD-ROM no aparelho.", L"Você deseja apagar a lista de opções?", L"O CD-ROM inserido mão é um CD áudio.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"Track", L"Música", L"Som", L"Gravador", L"NENHUM", L"Gravador ..."}, {L"&Abrir", L"S&obre", L"&Sair"}, {L"Sobre", L"Lista de Opções de MIDI", L"Lista de Opções de CD", L"Lista de Opções de Som", L"Gravador Velutra", L"Propriedades"}},
    {"ru-RU", MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), {L"Внимание! Происходит запись.\nПожалуйста, остановите запись перед закрытием проигрывателя.", L"В проигрывателе нет компакт-диска.", L"Вы хотите очистить список?", L"Вставленный компакт-диск не является музыкальным.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"след", L"Мелодия", L"Звук", L"Запись", L"ПУСТО", L"Запись ..."}, {L"О&ткрыть", L"&О Velutra", L"&Выход"}, {L"О программе", L"Список MIDI", L"Компакт-диск список мелодий", L"Список звуков", L"Velutra Запись", L"Свойства"}},
    {"ja-JP", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), {L"ｻｳﾝﾄﾞを録音中です。\nﾌﾟﾚｰﾔｰを閉じる前に録音を中止してください。", L"ﾌﾟﾚｰﾔｰにCD-ROMがｾｯﾄされていません。", L"再生の順序をｸﾘｱしますか?", L"ｵｰﾃﾞｨｵCDがｾｯﾄされていません。",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"ﾄﾗｯｸ", L"ﾐｭｰｼﾞｯｸ", L"ｻｳﾝﾄﾞ", L"録音", L"なし", L"録音 ..."}, {L"開く(&O)", L"ﾊﾞｰｼﾞｮﾝ情報(&A)", L"終了(&X)"}, {L"ﾊﾞｰｼﾞｮﾝ情報", L"MIDIの再生順序", L"CDの再生順序", L"ｻｳﾝﾄﾞの再生順序", L"Velutra録音", L"ﾌﾟﾛﾊﾟﾃｨ"}},
    {"ko-KR", MAKELANGID(LANG_KOREAN, SUBLANG_DEFAULT), {L"사운드를 녹음하고 있습니다. \n재생기를 닫으려면 먼저 녹음 작업을 정지시켜야 합니다.", L"재생기에 CD-ROM이 들어 있지 않습니다.", L"재생 목록의 내용을 삭제하시겠습니까?", L"오디오 CD가 아닌 CD-ROM이 들어 있습니다.",
      L"Unable to activate help", L"Playlist is empty.", L"Device is not available.", L"트랙", L"음악 ", L"사운드", L"녹음", L"비어 있음", L"녹음 ..."}, {L"&O열기", L"&A에 관하여", L"&E종료"}, {L"...에 관하여", L"MIDI 재생 목록", L"CD 재생 목록", L"사운드 재생 목록", L"Velutra 녹음", L"등록 정보"}},
    {"zh-CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), {L"你正在录音。\n请在关闭放音机之前停止录音。", L"CD放音机中没有CD。", L"是否想清空放音清单？", L"插入的CD不是音频CD。",
      L"无法启动帮助", L"放音清单是空的。", L"设备不可用。", L"声轨", L"音乐", L"声音", L"录音", L"空", L"录音 ..."}, {L"&O打开", L"&A关于", L"&E退出"}, {L"关于", L"MIDI放音清单", L"CD放音清单", L"声音放音清单", L"Velutra录音", L"属性"}},
    {"zh-TW", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), {L"正在錄音中.\n請在關閉Velutra前停止錄音.", L"光碟機中沒有CD.", L"要清除播放目錄嗎?", L"光碟機中放置的不是音樂CD.",
      L"無法啟動說明", L"播放目錄是空的.", L"裝置無法使用.", L"聲軌", L"音樂", L"聲音", L"錄音", L"清除", L"錄音 ..."}, {L"&O開啟", L"&A關於", L"&E結束"}, {L"關於", L"MIDI播放目錄", L"CD播放目錄", L"音效播放目錄", L"Velutra錄音", L"格式"}},
}};

// Wine serves a language id the exact version or, failing that, its primary language with
// SUBLANG_NEUTRAL; Chinese regions have copies under their own ids; a language the program does not
// have gets English.
const std::array<Region, 8> kRegions{{{"de-AT", "de-DE"}, {"de-CH", "de-DE"}, {"fr-CA", "fr-FR"}, {"es-MX", "es-ES"},
                                      {"pt-BR", "pt-PT"}, {"zh-HK", "zh-TW"}, {"zh-SG", "zh-CN"}, {"sv-SE", "en-US"}}};

const Language* FindLanguage(const std::string& tag)
{
    for (const Language& language : kLanguages)
        if (tag == language.tag) return &language;
    return nullptr;
}

}  // namespace languages
