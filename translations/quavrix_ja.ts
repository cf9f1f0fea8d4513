<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>アナライザを表示</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>ピークを表示</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>バー数:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>バー幅:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>間隔:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>高さ:</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>プレイリストをリピート</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>ランダム再生</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>早送り / 巻き戻し</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>間隔:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+35"/>
        <source>s</source>
        <comment>unit symbol of seconds, after the number</comment>
        <translation>秒</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>ReplayGain</source>
        <translation>ReplayGain</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>トラック</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <comment>gain of the album</comment>
        <translation>アルバム</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pre-amp:</source>
        <translation>プリアンプ:</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Untagged:</source>
        <translation>タグなし:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>クリッピング防止</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>再生中の画面</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>バックライトを消す</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>画面を消す (C7xx 機のみ)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>電源オン後の待ち時間</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>デバイスの空き容量がありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>ディスククォータを超えました</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>デバイスは読み取り専用です</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>アクセスが拒否されました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>フォルダがありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>デバイスがエラーを返しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>デバイスが見つかりません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>ファイルが大きすぎます</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>ファイルは読み取り専用です</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>ブックマークを保存できませんでした: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>ブックマーク名</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>ブックマークを追加</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>ブックマークの整理</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>現在のブックマークを
削除しますか?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>名前を変更</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>列 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>移動</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>アーティスト</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>アルバム</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>年</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>No.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>サンプル歌手</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>サンプルアルバム</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>1 曲目</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>2 曲目</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>3 曲目</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>奇数行:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>偶数行:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>カスタム色</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>メディアファイルを検索</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>ファイルを検索中</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>ファイル情報を取得</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>並べ替え中</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>ドキュメントフォルダを処理</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>テキスト:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>並べ替え</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>なし</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>音量を上げる:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>音量を下げる:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>再生 / 一時停止:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>次へ:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>前へ:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>早送り:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>巻き戻し:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>キャンセルキーで停止</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>ドキュメントフォルダ</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>検索する</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>列 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>サブフォルダを含む</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>追加</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>削除</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MediaFoldersDialog</name>
    <message>
        <location filename="../library/mediafoldersdialog.cpp" line="+40"/>
        <source>Edit Media Folders</source>
        <translation>メディアフォルダの編集</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>メディアフォルダを選択</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>メディアフォルダのパスに「|」は使えません。</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[すべて]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[なし]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[すべて]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[すべて]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>ライブラリの選択</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>すべて追加</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>オプション</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>色</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>キー</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>スタイル</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>アナライザ</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>プレイリスト名</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>プレイリストを保存</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>プレイリストは既にあります!</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>上書き</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>プレイリストを保存できませんでした: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>名前を設定に保存できませんでした</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>プレイリストを読み込む</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>プレイリストの整理</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>プレイリスト %1 は変更されています。
保存しますか?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>プレイリスト %1 を
削除しますか?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>名前を変更</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>プレイリスト名の変更</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>名前を変更できませんでした!</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>メディアフォルダ</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>オプション</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>読み込む</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>整理</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>全曲を追加</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>リスト消去</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>上げる</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>下げる</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>前へ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>次へ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>早送り</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>巻き戻し</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+3"/>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
</context>
<context>
    <name>SaveFailureNotice</name>
    <message>
        <location filename="../app/savefailurenotice.cpp" line="+32"/>
        <source>Could not save the settings: %1</source>
        <translation>設定を保存できませんでした: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>タブの位置</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>上</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>下</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>右</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
</context>
<context>
    <name>TrackInfo</name>
    <message>
        <location filename="../ui/trackinfo.cpp" line="+45"/>
        <location line="+39"/>
        <source>kbps</source>
        <translation>kbps</translation>
    </message>
    <message>
        <location line="-38"/>
        <location line="+38"/>
        <source>kHz</source>
        <translation>kHz</translation>
    </message>
    <message>
        <location line="-38"/>
        <source>mono</source>
        <translation>モノラル</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>stereo</source>
        <translation>ステレオ</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>サウンドデバイス %1 を開けません (%2)。音声なしで再生を続けます。</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>音声出力が停止しました (%1)。音声なしで再生を続けます。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>音声出力が停止したため (%1)、開き直しました。</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>情報</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>拡大</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+10"/>
        <location line="+15"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>About</source>
        <translation>情報</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;小さな画面のための音楽プレーヤー。&lt;br&gt;MP3、Ogg Vorbis、AAC に対応。</translation>
    </message>
</context>
<context>
    <name>VRXOkCancel</name>
    <message>
        <location filename="../lib/qt/vrxokcancel.cpp" line="+13"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>VRXPlayerWindow</name>
    <message>
        <location filename="../app/vrxplayerwindow.cpp" line="+67"/>
        <source>Play List</source>
        <translation>プレイリスト</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>プレーヤー</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>%1 を再生できません: ファイルがありません。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>%1 を再生できません: 読み取れるファイルではありません。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>%1 を再生できません: このプレーヤーでは読めない音声ファイルです。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>サウンド</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>VRXRenameDialog</name>
    <message>
        <location filename="../lib/qt/vrxrenamedialog.cpp" line="+13"/>
        <source>Rename</source>
        <translation>名前を変更</translation>
    </message>
</context>
</TS>
