<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>AnalyzerWidgetBase</name>
    <message>
        <location filename="../ui/analyzerwidget.cpp" line="+19"/>
        <source>Show Analyzer</source>
        <translation>Показать анализатор</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show peaks</source>
        <translation>Показать пики</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Num bars:</source>
        <translation>Полос:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Bar width:</source>
        <translation>Ширина:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Space:</source>
        <translation>Промежуток:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Height:</source>
        <translation>Высота:</translation>
    </message>
</context>
<context>
    <name>AnotherOptionsWidgetBase</name>
    <message>
        <location filename="../ui/anotheroptionswidget.cpp" line="+80"/>
        <source>Playlist looping</source>
        <translation>Повторять плейлист</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Random order</source>
        <translation>Случайный порядок</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Fast Forward / Rewind</source>
        <translation>Перемотка</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Interval:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+35"/>
        <source>s</source>
        <comment>unit symbol of seconds, after the number</comment>
        <translation>с</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>ReplayGain</source>
        <translation>ReplayGain</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Off</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>gain of the track</comment>
        <translation>Трек</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <comment>gain of the album</comment>
        <translation>Альбом</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Pre-amp:</source>
        <translation>Предусил.:</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Untagged:</source>
        <translation>Без тега:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Prevent clipping</source>
        <translation>Без перегрузки</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Display while playing</source>
        <translation>Экран при игре</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Backlight off</source>
        <translation>Выключить подсветку</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Display off (only for C7xx devices)</source>
        <translation>Выключить экран (только C7xx)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delay after power on</source>
        <translation>Пауза после включения</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../lib/qpe/core/atomicfile.cpp" line="+55"/>
        <source>no space left on the device</source>
        <translation>на устройстве нет места</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the disk quota is used up</source>
        <translation>дисковая квота исчерпана</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device is read-only</source>
        <translation>устройство только для чтения</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>permission denied</source>
        <translation>доступ запрещён</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the folder does not exist</source>
        <translation>папка не существует</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the device reported an error</source>
        <translation>устройство сообщило об ошибке</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the device is gone</source>
        <translation>устройство отключено</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is too large</source>
        <translation>файл слишком большой</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the file is read-only</source>
        <translation>файл только для чтения</translation>
    </message>
</context>
<context>
    <name>Bookamrks</name>
    <message>
        <location filename="../app/bookamrks.cpp" line="+55"/>
        <source>Bookmarks</source>
        <translation>Закладки</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the bookmarks: %1</source>
        <translation>Не удалось сохранить закладки: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Bookmark Name</source>
        <translation>Имя закладки</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bookmark</source>
        <translation>Закладка</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Add Bookmark</source>
        <translation>Добавить закладку</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Organize Bookmarks</source>
        <translation>Управление закладками</translation>
    </message>
</context>
<context>
    <name>BookmarkDialog</name>
    <message>
        <location filename="../app/bookmarkdialog.cpp" line="+106"/>
        <source>Are you sure you want to delete
Current Bookmark?</source>
        <translation>Удалить
текущую закладку?</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Rename</source>
        <translation>Переименовать</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerBase</name>
    <message>
        <location filename="../app/bookmarkmanagerbase.cpp" line="+11"/>
        <source>Bookmarks</source>
        <translation>Закладки</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Column 1</source>
        <translation>Столбец 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Go</source>
        <translation>Перейти</translation>
    </message>
</context>
<context>
    <name>ColorsWidget</name>
    <message>
        <location filename="../ui/colorswidget.cpp" line="+53"/>
        <source>Title</source>
        <translation>Название</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Artist</source>
        <translation>Исполнитель</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Album</source>
        <translation>Альбом</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Year</source>
        <translation>Год</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Track</source>
        <comment>number of the track</comment>
        <translation>№</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sample Artist</source>
        <translation>Исполнитель</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sample Album</source>
        <translation>Альбом</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First Song</source>
        <translation>Первая песня</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Second Song</source>
        <translation>Вторая песня</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Third Song</source>
        <translation>Третья песня</translation>
    </message>
</context>
<context>
    <name>ColorsWidgetBase</name>
    <message>
        <location line="-36"/>
        <source>Odd Line:</source>
        <translation>Нечётная строка:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Even Line:</source>
        <translation>Чётная строка:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Custom colors</source>
        <translation>Свои цвета</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialog</name>
    <message>
        <location filename="../library/copyremovedialog.cpp" line="+50"/>
        <source>Finding Media Files</source>
        <translation>Поиск файлов</translation>
    </message>
    <message>
        <location line="+88"/>
        <source>Searching for Files</source>
        <translation>Идёт поиск файлов</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Get file info</source>
        <translation>Чтение сведений</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Sorting</source>
        <translation>Сортировка</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Precess Documents Folder</source>
        <translation>Обработка папки документов</translation>
    </message>
</context>
<context>
    <name>CopyRemoveDialogBase</name>
    <message>
        <location filename="../library/copyremovedialogbase.cpp" line="+40"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>CustomListBase</name>
    <message>
        <location filename="../library/customlistbase.cpp" line="+29"/>
        <source>Text:</source>
        <translation>Текст:</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Sort</source>
        <translation>Сортировать</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
</context>
<context>
    <name>CustomListDialog</name>
    <message>
        <location filename="../library/customlistdialog.cpp" line="+20"/>
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
</context>
<context>
    <name>KeysWidget</name>
    <message>
        <location filename="../ui/keyswidget.cpp" line="+109"/>
        <source>None</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>KeysWidgetBase</name>
    <message>
        <location line="-78"/>
        <source>Volume Up:</source>
        <translation>Громче:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Volume Down:</source>
        <translation>Тише:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Play / Pause :</source>
        <translation>Играть / пауза:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Next:</source>
        <translation>Следующий:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev:</source>
        <translation>Предыдущий:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Fast Forward:</source>
        <translation>Вперёд:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rewind:</source>
        <translation>Назад:</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Cancel key stops playback</source>
        <translation>Отмена останавливает</translation>
    </message>
</context>
<context>
    <name>MediaFoldersBase</name>
    <message>
        <location filename="../library/mediafoldersbase.cpp" line="+23"/>
        <source>Documents Folder</source>
        <translation>Папка документов</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Process Documents Folder</source>
        <translation>Просматривать</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column 1</source>
        <translation>Столбец 1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Folder</source>
        <translation>Папка</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Include Subfolders</source>
        <translation>С вложенными папками</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Folder</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove Folder</source>
        <translation>Убрать</translation>
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
        <translation>Папки с музыкой</translation>
    </message>
    <message>
        <location line="+77"/>
        <location line="+5"/>
        <source>Select Media Folder</source>
        <translation>Выбор папки</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>A media folder path cannot contain &quot;|&quot;.</source>
        <translation>Путь к папке не может содержать «|».</translation>
    </message>
</context>
<context>
    <name>MediaLibrary</name>
    <message>
        <location filename="../library/medialibrary.cpp" line="+179"/>
        <source>[All Artists]</source>
        <translation>[Все]</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>[Empty]</source>
        <translation>[Пусто]</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>[All Albums]</source>
        <translation>[Все]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>[All Years]</source>
        <translation>[Все]</translation>
    </message>
</context>
<context>
    <name>MediaLibraryBase</name>
    <message>
        <location filename="../library/medialibrarybase.cpp" line="+39"/>
        <source>Library Selection</source>
        <translation>Выбор</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add All</source>
        <translation>Добавить все</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <location filename="../ui/optionsdialog.cpp" line="+21"/>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Setup</source>
        <translation>Общие</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Colors</source>
        <translation>Цвета</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Key</source>
        <comment>tab of the key bindings</comment>
        <translation>Клавиши</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Style</source>
        <translation>Вид</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Analyzer</source>
        <translation>Анализатор</translation>
    </message>
</context>
<context>
    <name>PlayList</name>
    <message>
        <location filename="../library/namedplaylists.cpp" line="+54"/>
        <source>Playlist Name</source>
        <translation>Имя плейлиста</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+18"/>
        <location line="+14"/>
        <source>Save Playlist</source>
        <translation>Сохранить плейлист</translation>
    </message>
    <message>
        <location line="-32"/>
        <location line="+111"/>
        <source>Playlist already exists!</source>
        <translation>Такой плейлист уже есть!</translation>
    </message>
    <message>
        <location line="-110"/>
        <source>Overwrite</source>
        <translation>Заменить</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+14"/>
        <source>Could not save the playlist: %1</source>
        <translation>Не удалось сохранить плейлист: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>its name could not be stored in the settings</source>
        <translation>её имя не удалось записать в настройки</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+21"/>
        <source>Load Playlist</source>
        <translation>Загрузить плейлист</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>Organize Playlists</source>
        <translation>Управление плейлистами</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Playlist %1 is modified!
Would you like to save it?</source>
        <translation>Плейлист %1 изменён!
Сохранить его?</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../library/playlist.cpp" line="+73"/>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Are you sure you want to delete
Playlist :%1?</source>
        <translation>Удалить
плейлист %1?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Rename</source>
        <translation>Переименовать</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <source>Rename Playlist</source>
        <translation>Переименовать</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Rename failed!</source>
        <translation>Не удалось переименовать!</translation>
    </message>
    <message>
        <location filename="../library/playlist.cpp" line="-6"/>
        <source>Media Folders</source>
        <translation>Папки с музыкой</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Organize</source>
        <translation>Управление</translation>
    </message>
    <message>
        <location line="+530"/>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Play</source>
        <translation>Играть</translation>
    </message>
</context>
<context>
    <name>PlayListBase</name>
    <message>
        <location filename="../library/playlistbase.cpp" line="+19"/>
        <source>Play</source>
        <translation>Играть</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add All Library</source>
        <translation>Вся медиатека</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Clear List</source>
        <translation>Очистить</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <location filename="../ui/player.cpp" line="+80"/>
        <source>Up</source>
        <comment>volume</comment>
        <translation>Громче</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Down</source>
        <comment>volume</comment>
        <translation>Тише</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Prev</source>
        <comment>track</comment>
        <translation>Пред.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Next</source>
        <comment>track</comment>
        <translation>След.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Forward</source>
        <comment>fast forward</comment>
        <translation>Вперёд</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rewind</source>
        <translation>Назад</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+121"/>
        <location line="+8"/>
        <source>Play</source>
        <translation>Играть</translation>
    </message>
    <message>
        <location line="-14"/>
        <location line="+3"/>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
</context>
<context>
    <name>SaveFailureNotice</name>
    <message>
        <location filename="../app/savefailurenotice.cpp" line="+32"/>
        <source>Could not save the settings: %1</source>
        <translation>Не удалось сохранить настройки: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>TabPositionWidgetBase</name>
    <message>
        <location filename="../ui/tabpositionwidget.cpp" line="+25"/>
        <source>Tab position</source>
        <translation>Положение вкладок</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Preview</source>
        <translation>Просмотр</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Top</source>
        <translation>Сверху</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Bottom</source>
        <translation>Снизу</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Left</source>
        <translation>Слева</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Right</source>
        <translation>Справа</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Auto</source>
        <translation>Авто</translation>
    </message>
</context>
<context>
    <name>TrackInfo</name>
    <message>
        <location filename="../ui/trackinfo.cpp" line="+45"/>
        <location line="+39"/>
        <source>kbps</source>
        <translation>кбит/с</translation>
    </message>
    <message>
        <location line="-38"/>
        <location line="+38"/>
        <source>kHz</source>
        <translation>кГц</translation>
    </message>
    <message>
        <location line="-38"/>
        <source>mono</source>
        <translation>моно</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+38"/>
        <source>stereo</source>
        <translation>стерео</translation>
    </message>
</context>
<context>
    <name>VRAudioDevice</name>
    <message>
        <location filename="../engine/vraudiodevice.cpp" line="+100"/>
        <source>The sound device %1 cannot be opened (%2): playing on without sound.</source>
        <translation>Не удалось открыть звуковое устройство %1 (%2): воспроизведение идёт без звука.</translation>
    </message>
    <message>
        <location line="+246"/>
        <source>The sound output stopped working (%1): playing on without sound.</source>
        <translation>Звуковой вывод перестал работать (%1): воспроизведение идёт без звука.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The sound output stopped working (%1) and was opened again.</source>
        <translation>Звуковой вывод перестал работать (%1) и был открыт заново.</translation>
    </message>
</context>
<context>
    <name>VRXMainWindow</name>
    <message>
        <location filename="../lib/qt/vrxmainwindow.cpp" line="+21"/>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom In</source>
        <translation>Крупнее</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Zoom Out</source>
        <translation>Мельче</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>VRXMessageBox</name>
    <message>
        <location filename="../lib/qt/vrxmessagebox.cpp" line="+75"/>
        <location line="+11"/>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Delete</source>
        <translation>Удалить</translation>
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
        <translation>О программе</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Music player for small screens.&lt;br&gt;MP3, Ogg Vorbis and AAC.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Музыкальный плеер для маленьких экранов.&lt;br&gt;MP3, Ogg Vorbis и AAC.</translation>
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
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>VRXPlayerWindow</name>
    <message>
        <location filename="../app/vrxplayerwindow.cpp" line="+67"/>
        <source>Play List</source>
        <translation>Плейлист</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Library</source>
        <translation>Медиатека</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Player</source>
        <translation>Плеер</translation>
    </message>
    <message>
        <location line="+148"/>
        <source>Cannot play %1: there is no such file.</source>
        <translation>Не удаётся воспроизвести %1: такого файла нет.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a file that can be read.</source>
        <translation>Не удаётся воспроизвести %1: файл нельзя прочитать.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cannot play %1: it is not a sound file this player can read.</source>
        <translation>Не удаётся воспроизвести %1: этот формат звука не поддерживается.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <location line="+510"/>
        <source>Sound</source>
        <translation>Звук</translation>
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
        <translation>Переименовать</translation>
    </message>
</context>
</TS>
