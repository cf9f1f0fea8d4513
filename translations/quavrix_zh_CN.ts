<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>显示频谱</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>显示峰值</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>条数：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>条宽：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>间距：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>高度：</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>循环播放列表</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>随机顺序</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>快进 / 快退</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>间隔：</translation>
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
        <translation>回放增益</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>单曲</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <comment>gain of the album</comment>
        <translation>专辑</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pre-amp:</source>
        <translation>前置放大：</translation>
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
        <translation>无标签：</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>防止削波</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>播放时的屏幕</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>关闭背光</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>关闭屏幕 (仅限 C7xx 设备)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>开机后延迟</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>设备空间已满</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>磁盘配额已用完</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>设备为只读</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>权限不足</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>文件夹不存在</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>设备报告错误</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>设备已断开</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>文件太大</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>文件为只读</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>书签</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>无法保存书签：%1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>书签名称</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>书签</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>添加书签</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>整理书签</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>确定要删除
当前书签吗？</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>书签</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>第 1 列</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>转到</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>艺术家</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>专辑</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>年份</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>音轨</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>示例艺术家</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>示例专辑</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>第一首</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>第二首</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>第三首</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>奇数行：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>偶数行：</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>自定义颜色</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>查找媒体文件</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>正在搜索文件</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>读取文件信息</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>正在排序</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>处理文档文件夹</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>文本：</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>排序</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>音量加：</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>音量减：</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>播放 / 暂停：</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>下一首：</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>上一首：</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>快进：</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>快退：</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>取消键停止播放</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>文档文件夹</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>扫描</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>第 1 列</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>包括子文件夹</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>添加</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>移除</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>MediaFoldersDialog</name>
    <message>
        <location filename="../library/mediafoldersdialog.cpp" line="+40"/>
        <source>Edit Media Folders</source>
        <translation>编辑媒体文件夹</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>选择媒体文件夹</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>媒体文件夹路径不能包含“|”。</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[全部]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[空]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[全部]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[全部]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>媒体库筛选</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>全部添加</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>设置</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>按键</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>样式</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>频谱</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>播放列表名称</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>保存播放列表</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>播放列表已存在！</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>覆盖</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>无法保存播放列表：%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>无法在设置中保存其名称</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>载入播放列表</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>整理播放列表</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>播放列表 %1 已修改！
要保存吗？</translation>
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
        <translation>确定要删除
播放列表 %1 吗？</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>重命名播放列表</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>重命名失败！</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>媒体文件夹</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>载入</translation>
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
        <translation>播放</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>全部添加</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>清空列表</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>调高</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>调低</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>上一首</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>下一首</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>快进</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>快退</translation>
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
        <translation>播放</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+3"/>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
</context>
<context>
    <name>SaveFailureNotice</name>
    <message>
        <location filename="../app/savefailurenotice.cpp" line="+32"/>
        <source>Could not save the settings: %1</source>
        <translation>无法保存设置：%1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>标签页位置</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>顶部</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>底部</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>左侧</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>右侧</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Auto</source>
        <translation>自动</translation>
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
        <translation>单声道</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>stereo</source>
        <translation>立体声</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>无法打开声音设备 %1 (%2)：继续无声播放。</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>声音输出停止工作 (%1)：继续无声播放。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>声音输出停止工作 (%1)，已重新打开。</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>放大</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+10"/>
        <location line="+15"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="-5"/>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;适用于小屏幕的音乐播放器。&lt;br&gt;支持 MP3、Ogg Vorbis 和 AAC。</translation>
    </message>
</context>
<context>
    <name>VRXOkCancel</name>
    <message>
        <location filename="../lib/qt/vrxokcancel.cpp" line="+13"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>VRXPlayerWindow</name>
    <message>
        <location filename="../app/vrxplayerwindow.cpp" line="+67"/>
        <source>Play List</source>
        <translation>播放列表</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library</source>
        <translation>媒体库</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>播放器</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>无法播放 %1：文件不存在。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>无法播放 %1：文件无法读取。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>无法播放 %1：播放器不支持此声音文件。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>VRXRenameDialog</name>
    <message>
        <location filename="../lib/qt/vrxrenamedialog.cpp" line="+13"/>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
</context>
</TS>
