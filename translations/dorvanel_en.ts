<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>dlgAdd</name>
    <message>
        <source>Adjuntar documento</source>
        <translation>Attach document</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Descripción:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>Palabras clave:</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>Importar desde archivo</source>
        <translation>Import from file</translation>
    </message>
    <message>
        <source>&amp;Examinar</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>Enlazar una URL</source>
        <translation>Link a URL</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>&amp;Ayuda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Aceptar</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>dlgBrowse</name>
    <message>
        <source>Explorar documentos</source>
        <translation>Browse documents</translation>
    </message>
    <message>
        <source>Agregar documento</source>
        <translation>Add document</translation>
    </message>
    <message>
        <source>Modificar</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Eliminar</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Descripción del elemento seleccionado</source>
        <translation>Description of the selected item</translation>
    </message>
    <message>
        <source>Vista en miniatura</source>
        <translation>Miniature view</translation>
    </message>
    <message>
        <source>Ver documento</source>
        <translation>View document</translation>
    </message>
    <message>
        <source>Descargar (Guardar como... )</source>
        <translation>Download (Save as... )</translation>
    </message>
    <message>
        <source>Ay&amp;uda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>dlgEdit</name>
    <message>
        <source>Editar información de registro</source>
        <translation>Edit record information</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Descripción:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>Palabras clave:</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>&amp;Aceptar</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ayuda</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>dlgFind</name>
    <message>
        <source>Buscar documentos</source>
        <translation>Find documents</translation>
    </message>
    <message>
        <source>Buscar:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>Descripción del elemento seleccionado</source>
        <translation>Description of the selected item</translation>
    </message>
    <message>
        <source>Vista en miniatura</source>
        <translation>Miniature view</translation>
    </message>
    <message>
        <source>Ver documento</source>
        <translation>View document</translation>
    </message>
    <message>
        <source>Ayuda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&amp;Aceptar</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>dorvanel::AddLink</name>
    <message>
        <source>No existe ParentType</source>
        <translation>ParentType does not exist</translation>
    </message>
</context>
<context>
    <name>dorvanel::AuditLog</name>
    <message>
        <source>No se pudo calcular el hash SHA-256</source>
        <translation>Could not compute the SHA-256 hash</translation>
    </message>
    <message>
        <source>La base de datos no tiene registro de cambios</source>
        <translation>The database has no record of changes</translation>
    </message>
</context>
<context>
    <name>dorvanel::BlobStreaming</name>
    <message>
        <source>No se pudo copiar el archivo %1: %2</source>
        <translation>Could not copy the file %1: %2</translation>
    </message>
    <message>
        <source>el archivo cambió mientras se guardaba</source>
        <translation>the file changed while it was being stored</translation>
    </message>
    <message>
        <source>No existe la fila %1 de %2</source>
        <translation>Row %1 of %2 does not exist</translation>
    </message>
    <message>
        <source>El contenido de la fila %1 de %2 cambió mientras se leía</source>
        <translation>The content of row %1 of %2 changed while it was being read</translation>
    </message>
    <message>
        <source>No se pudo preparar el cálculo SHA-256</source>
        <translation>Could not prepare the SHA-256 computation</translation>
    </message>
    <message>
        <source>No se pudo terminar el cálculo SHA-256</source>
        <translation>Could not finish the SHA-256 computation</translation>
    </message>
    <message>
        <source>No se pudo escribir en %1: %2</source>
        <translation>Could not write to %1: %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::CommonDialog</name>
    <message>
        <source>Se ha seleccionado Cancelar.</source>
        <translation>Cancel was selected.</translation>
    </message>
</context>
<context>
    <name>dorvanel::Connection</name>
    <message>
        <source>Dirección de base de datos no reconocida: %1 (use sqlite:RUTA o postgresql://...)</source>
        <translation>Unrecognised database address: %1 (use sqlite:PATH or postgresql://...)</translation>
    </message>
    <message>
        <source>No se pudo abrir la base de datos: %1</source>
        <translation>Could not open the database: %1</translation>
    </message>
</context>
<context>
    <name>dorvanel::ContentExtractor</name>
    <message>
        <source>No se pudo iniciar el programa de extracción %1: %2</source>
        <translation>Could not start the extraction program %1: %2</translation>
    </message>
    <message>
        <source>No se pudo leer el documento: %1</source>
        <translation>Could not read the document: %1</translation>
    </message>
    <message>
        <source>terminó antes de lo esperado</source>
        <translation>it ended sooner than expected</translation>
    </message>
    <message>
        <source>El programa de extracción no respondió en %1 segundos y se detuvo</source>
        <translation>The extraction program did not answer in %1 seconds and was stopped</translation>
    </message>
    <message>
        <source>El programa de extracción dio una respuesta no válida</source>
        <translation>The extraction program gave an invalid answer</translation>
    </message>
    <message>
        <source>El programa de extracción terminó sin responder (estado %1)</source>
        <translation>The extraction program ended without answering (status %1)</translation>
    </message>
    <message>
        <source>La extracción superó su tiempo límite de %1 segundos</source>
        <translation>The extraction went past its time limit of %1 seconds</translation>
    </message>
    <message>
        <source>El programa de extracción terminó de forma anormal (señal %1)</source>
        <translation>The extraction program ended abnormally (signal %1)</translation>
    </message>
    <message>
        <source>El documento ocupa %1 bytes, más de los %2 que se leen para su miniatura y su texto</source>
        <translation>The document takes %1 bytes, more than the %2 read for its miniature and its text</translation>
    </message>
    <message>
        <source>La extracción superó su límite de memoria de %1 MiB</source>
        <translation>The extraction went past its memory limit of %1 MiB</translation>
    </message>
    <message>
        <source>No se pudo abrir %1: %2</source>
        <translation>Could not open %1: %2</translation>
    </message>
    <message>
        <source>El programa de extracción dio una miniatura no válida</source>
        <translation>The extraction program gave an invalid miniature</translation>
    </message>
</context>
<context>
    <name>dorvanel::DefaultDocRecord</name>
    <message>
        <source>No se puede leer el archivo %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>No se pudo crear un archivo de trabajo en %1: %2</source>
        <translation>Could not create a work file in %1: %2</translation>
    </message>
    <message>
        <source>No se pudo escribir el archivo %1: %2</source>
        <translation>Could not write the file %1: %2</translation>
    </message>
    <message>
        <source>No hay un documento cargado</source>
        <translation>No document is loaded</translation>
    </message>
    <message>
        <source>El documento %1 ya no existe</source>
        <translation>The document %1 no longer exists</translation>
    </message>
    <message>
        <source>El registro no tiene conexión</source>
        <translation>The record has no connection</translation>
    </message>
</context>
<context>
    <name>dorvanel::DefaultHostControl</name>
    <message>
        <source>El objeto no admite la propiedad %1</source>
        <translation>The object does not support the property %1</translation>
    </message>
</context>
<context>
    <name>dorvanel::DefaultLinkRecord</name>
    <message>
        <source>No hay un vínculo nuevo que guardar</source>
        <translation>There is no new link to save</translation>
    </message>
    <message>
        <source>El registro no tiene conexión</source>
        <translation>The record has no connection</translation>
    </message>
</context>
<context>
    <name>dorvanel::DefaultOskel</name>
    <message>
        <source>No hay ningún programa en este escritorio para abrir el archivo %1.

¿Desea guardarlo desde la página de descarga?</source>
        <translation>There is no program on this desktop to open the file %1.

Do you want to save it from the download page?</translation>
    </message>
</context>
<context>
    <name>dorvanel::DialogFrame</name>
    <message>
        <source>Los diálogos necesitan una sesión con ventanas</source>
        <translation>The dialogs need a session with windows</translation>
    </message>
</context>
<context>
    <name>dorvanel::DocumentList</name>
    <message>
        <source>No existe el elemento %1 de la lista</source>
        <translation>Item %1 of the list does not exist</translation>
    </message>
</context>
<context>
    <name>dorvanel::DocumentMiniature</name>
    <message>
        <source>No existe un documento %1 con contenido</source>
        <translation>There is no document %1 with content</translation>
    </message>
</context>
<context>
    <name>dorvanel::DocumentText</name>
    <message>
        <source>texto recortado a %1 caracteres: no cabía en el índice de palabras</source>
        <translation>text cut to %1 characters: it did not fit in the word index</translation>
    </message>
</context>
<context>
    <name>dorvanel::DocumentVersions</name>
    <message>
        <source>No existe el documento %1</source>
        <translation>There is no document %1</translation>
    </message>
    <message>
        <source>El documento %1 es externo: no guarda contenido</source>
        <translation>The document %1 is an outside one: it keeps no content</translation>
    </message>
    <message>
        <source>El archivo %1 cambió mientras se guardaba</source>
        <translation>The file %1 changed while it was being stored</translation>
    </message>
    <message>
        <source>El documento %1 no tiene la versión %2</source>
        <translation>The document %1 has no version %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::DownloadPage</name>
    <message>
        <source>Descargar archivo: %1</source>
        <translation>Download file: %1</translation>
    </message>
    <message>
        <source>Pulse aqu&amp;iacute; para descargar el archivo. </source>
        <translation>Click here to download the file. </translation>
    </message>
    <message>
        <source>(O haga click con el bot&amp;oacute;n derecho del mouse sobre el enlace y seleccione Guardar como...)</source>
        <translation>(Or right-click the link and choose Save as...)</translation>
    </message>
</context>
<context>
    <name>dorvanel::DraggedDocument</name>
    <message>
        <source>documento</source>
        <translation>document</translation>
    </message>
    <message>
        <source>No se pudo crear una carpeta en %1: %2</source>
        <translation>Could not create a folder in %1: %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::Error</name>
    <message>
        <source>Error inesperado</source>
        <translation>Unexpected error</translation>
    </message>
</context>
<context>
    <name>dorvanel::FailureStyles</name>
    <message>
        <source>Variable de objeto no establecida</source>
        <translation>Object variable not set</translation>
    </message>
</context>
<context>
    <name>dorvanel::FileCopyProgress</name>
    <message>
        <source>Guardando %1</source>
        <translation>Saving %1</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Descargar archivo</source>
        <translation>Download file</translation>
    </message>
</context>
<context>
    <name>dorvanel::FilePieces</name>
    <message>
        <source>No se pudo leer el archivo %1: %2</source>
        <translation>Could not read the file %1: %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::FillDocumentList</name>
    <message>
        <source>Desbordamiento</source>
        <translation>Overflow</translation>
    </message>
</context>
<context>
    <name>dorvanel::HostClasses</name>
    <message>
        <source>No se puede crear el objeto %1</source>
        <translation>Cannot create the object %1</translation>
    </message>
</context>
<context>
    <name>dorvanel::ImageBox</name>
    <message>
        <source>No se pudo leer la imagen %1: %2</source>
        <translation>Could not read the picture %1: %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::MakeMiniature</name>
    <message>
        <source>No se puede escribir el archivo %1</source>
        <translation>Cannot write the file %1</translation>
    </message>
</context>
<context>
    <name>dorvanel::Manager</name>
    <message>
        <source>No se estableció el objeto de servicios</source>
        <translation>The services object was not set</translation>
    </message>
</context>
<context>
    <name>dorvanel::MessageBox</name>
    <message>
        <source>&amp;Sí</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>dorvanel::NewFile</name>
    <message>
        <source>No se pudo escribir el archivo</source>
        <translation>Could not write the file</translation>
    </message>
    <message>
        <source>No se pudo crear un archivo junto a</source>
        <translation>Could not create a file beside</translation>
    </message>
</context>
<context>
    <name>dorvanel::PageBrowser</name>
    <message>
        <source>&amp;Guardar como...</source>
        <translation>&amp;Save as...</translation>
    </message>
    <message>
        <source>&amp;Abrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Copiar la dirección del enlace</source>
        <translation>Copy &amp;link address</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Seleccionar todo</source>
        <translation>Select &amp;all</translation>
    </message>
</context>
<context>
    <name>dorvanel::PictureFile</name>
    <message>
        <source>No se puede leer la imagen %1: %2</source>
        <translation>Cannot read the picture %1: %2</translation>
    </message>
    <message>
        <source>No hay una imagen cargada</source>
        <translation>No picture is loaded</translation>
    </message>
</context>
<context>
    <name>dorvanel::PictureSurface</name>
    <message>
        <source>Una imagen de %1 píxeles es demasiado grande</source>
        <translation>A picture of %1 pixels is too large</translation>
    </message>
</context>
<context>
    <name>dorvanel::PostgreSqlWire</name>
    <message>
        <source>El valor no cabe en una columna: %1 bytes</source>
        <translation>The value does not fit in a column: %1 bytes</translation>
    </message>
</context>
<context>
    <name>dorvanel::QtSqlDatabase</name>
    <message>
        <source>Dirección de PostgreSQL no válida: %1</source>
        <translation>Invalid PostgreSQL address: %1</translation>
    </message>
    <message>
        <source>el valor de %1 no puede contener «;»</source>
        <translation>the value of %1 cannot contain “;”</translation>
    </message>
    <message>
        <source>el puerto «%1» no es un número de puerto</source>
        <translation>the port “%1” is not a port number</translation>
    </message>
    <message>
        <source>El controlador de PostgreSQL no da su conexión</source>
        <translation>The PostgreSQL driver does not give its connection</translation>
    </message>
    <message>
        <source>La conexión no es de PostgreSQL</source>
        <translation>The connection is not a PostgreSQL one</translation>
    </message>
    <message>
        <source>no se admite el parámetro «%1»; se admiten %2</source>
        <translation>the parameter “%1” is not supported; the supported ones are %2</translation>
    </message>
</context>
<context>
    <name>dorvanel::Recordset</name>
    <message>
        <source>La conexión está cerrada</source>
        <translation>The connection is closed</translation>
    </message>
    <message>
        <source>El Recordset ya está abierto</source>
        <translation>The Recordset is already open</translation>
    </message>
    <message>
        <source>No se encontró el campo &apos;%1&apos; en la colección</source>
        <translation>Field &apos;%1&apos; was not found in the collection</translation>
    </message>
    <message>
        <source>No se encontró el campo %1 en la colección</source>
        <translation>Field %1 was not found in the collection</translation>
    </message>
    <message>
        <source>No se permite la operación si el objeto está cerrado</source>
        <translation>The operation is not allowed when the object is closed</translation>
    </message>
    <message>
        <source>BOF o EOF es True, o el registro actual se eliminó; la operación requiere un registro actual</source>
        <translation>Either BOF or EOF is True, or the current record has been deleted; the operation requires a current record</translation>
    </message>
</context>
<context>
    <name>dorvanel::ReportListView</name>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Descripción</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Modificado</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Alta</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Miniatura</source>
        <translation>Miniature</translation>
    </message>
    <message>
        <source>Palabras</source>
        <translation>Words</translation>
    </message>
</context>
<context>
    <name>dorvanel::SaveAs</name>
    <message>
        <source>Error al tratar de guardar archivo html temporal</source>
        <translation>Error while trying to save the temporary html file</translation>
    </message>
</context>
<context>
    <name>dorvanel::SaveTargetDialog</name>
    <message>
        <source>Todos los archivos (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Archivos %1 (*.%1)</source>
        <translation>%1 files (*.%1)</translation>
    </message>
    <message>
        <source>Guardar en:</source>
        <translation>Save in:</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Tipo:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>&amp;Guardar</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Guardar como</source>
        <translation>Save as</translation>
    </message>
</context>
<context>
    <name>dorvanel::SqliteDatabase</name>
    <message>
        <source>La dirección sqlite: no nombra ningún archivo de base de datos</source>
        <translation>The address sqlite: names no database file</translation>
    </message>
    <message>
        <source>No existe el archivo de base de datos %1</source>
        <translation>The database file %1 does not exist</translation>
    </message>
    <message>
        <source>La sentencia está vacía</source>
        <translation>The statement is empty</translation>
    </message>
    <message>
        <source>La conexión no es de SQLite</source>
        <translation>The connection is not a SQLite one</translation>
    </message>
</context>
<context>
    <name>dorvanel::Trash</name>
    <message>
        <source>No hay ningún documento con la clave %1</source>
        <translation>There is no document with the key %1</translation>
    </message>
    <message>
        <source>La papelera ya tiene un documento con la clave %1</source>
        <translation>The trash already holds a document with the key %1</translation>
    </message>
    <message>
        <source>La papelera no tiene ningún documento con la clave %1</source>
        <translation>The trash holds no document with the key %1</translation>
    </message>
    <message>
        <source>Ya hay un documento con la clave %1: no se puede restaurar encima de él</source>
        <translation>There is a document with the key %1 already: it cannot be restored over it</translation>
    </message>
</context>
<context>
    <name>dorvanel::dlgAdd</name>
    <message>
        <source>Archivos de Imagenes (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Todos los Archivos (*.*)|*.*</source>
        <translation>Picture files (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Introduzca ruta del archivo</source>
        <translation>Enter the file&apos;s path</translation>
    </message>
    <message>
        <source>Introduzca la URL que enlaza el archivo</source>
        <translation>Enter the URL that links the file</translation>
    </message>
    <message>
        <source>Introduzca nombre del archivo</source>
        <translation>Enter the file&apos;s name</translation>
    </message>
    <message>
        <source>El documento se guardó, pero no tiene los privilegios para vincularlo</source>
        <translation>The document was saved, but you do not have the privileges to link it</translation>
    </message>
</context>
<context>
    <name>dorvanel::dlgBrowse</name>
    <message>
        <source>Explorar documentos adjuntos - </source>
        <translation>Browse attached documents - </translation>
    </message>
    <message>
        <source>No tiene permiso para agregar documentos</source>
        <translation>You do not have permission to add documents</translation>
    </message>
    <message>
        <source>¿Seguro desea eliminar el vínculo a este archivo y el contenido de ser posible?</source>
        <translation>Do you really want to remove the link to this file, and its content where possible?</translation>
    </message>
</context>
<context>
    <name>dorvanel::dlgEdit</name>
    <message>
        <source>Error de carga</source>
        <translation>Loading error</translation>
    </message>
</context>
<context>
    <name>dorvanel::dlgHtml</name>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Descargar archivo</source>
        <translation>Download file</translation>
    </message>
</context>
</TS>
